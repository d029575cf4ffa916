// Fatal errors of the platform: the message goes to standard output and the
// process ends with exit code -1.
#pragma once

#include <string_view>

namespace platform {

[[noreturn]] void RuntimeError(std::string_view message);

}  // namespace platform
