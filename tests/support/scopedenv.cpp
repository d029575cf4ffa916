#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "testsupport.h"

namespace testsupport {

ScopedEnv::ScopedEnv(std::string name, std::optional<std::string> value) : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str())) old_ = old;
    if (value) setenv(name_.c_str(), value->c_str(), 1);
    else unsetenv(name_.c_str());
}

ScopedEnv::~ScopedEnv() {
    if (old_) setenv(name_.c_str(), old_->c_str(), 1);
    else unsetenv(name_.c_str());
}

}  // namespace testsupport
