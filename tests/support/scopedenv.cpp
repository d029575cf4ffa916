#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#ifdef _WIN32
#include "platform/winapi.h"
#endif

#include "testsupport.h"

namespace testsupport {

void SetEnv(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
    // Both copies of the environment: the C runtime's (getenv) and the
    // system's (what the platform reads, and what child programs inherit).
    const std::wstring wideName = platform::win::Wide(name);
    const std::wstring wideValue = value ? platform::win::Wide(*value) : std::wstring();
    ::_wputenv_s(wideName.c_str(), wideValue.c_str());
    ::SetEnvironmentVariableW(wideName.c_str(), value ? wideValue.c_str() : nullptr);
#else
    if (value) ::setenv(name.c_str(), value->c_str(), 1);
    else ::unsetenv(name.c_str());
#endif
}

std::optional<std::string> GetEnv(const std::string& name) {
#ifdef _WIN32
    return platform::win::Environment(platform::win::Wide(name).c_str());
#else
    const char* value = std::getenv(name.c_str());
    return value ? std::optional<std::string>(value) : std::nullopt;
#endif
}

ScopedEnv::ScopedEnv(std::string name, std::optional<std::string> value) : name_(std::move(name)) {
    old_ = GetEnv(name_);
    SetEnv(name_, value);
}

ScopedEnv::~ScopedEnv() { SetEnv(name_, old_); }

}  // namespace testsupport
