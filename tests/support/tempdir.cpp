#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "testsupport.h"

namespace testsupport {

std::string TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zandrovia-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return std::filesystem::temp_directory_path().string() + "/";
    return pattern + "/";
}

std::string AssetsDir() {
    const char* dir = std::getenv("ZANDROVIA_ASSETS");
    return dir ? std::string(dir) + "/" : std::string("assets/");
}

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
