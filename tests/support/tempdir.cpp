#include <cstdlib>
#include <filesystem>
#include <string>

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

}  // namespace testsupport
