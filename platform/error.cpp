// Fatal errors of the platform.
#include "platform/error.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

void RuntimeError(std::string_view message) {
    std::fwrite(message.data(), 1, message.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    std::exit(-1);
}

}  // namespace platform
