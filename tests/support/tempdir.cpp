#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#ifdef _WIN32
#include "platform/winapi.h"
#endif

#include "platform/files.h"
#include "testsupport.h"

namespace testsupport {

namespace fs = std::filesystem;

std::string TempDir() {
    // Our paths are UTF-8 texts with "/" between the folders, on every system.
#ifdef _WIN32
    const std::string base = platform::win::Narrow(fs::temp_directory_path().generic_wstring());
    const auto path = [](const std::string& text) { return fs::path(platform::win::Wide(text)); };
#else
    const std::string base = fs::temp_directory_path().string();
    const auto path = [](const std::string& text) { return fs::path(text); };
#endif
    const std::string root = base.empty() || base.back() != '/' ? base + "/" : base;
    // A new folder of a random name: create_directory tells a new one from one that is there.
    static std::mt19937_64 random{std::random_device{}()};
    const char* letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = root + "zandrovia-test-";
        for (int i = 0; i < 6; ++i) name += letters[random() % 62];
        std::error_code error;
        if (fs::create_directory(path(name), error)) return name + "/";
    }
    return root;
}

std::string AssetsDir() {
    const std::optional<std::string> dir = GetEnv("ZANDROVIA_ASSETS");
    return dir ? *dir + "/" : std::string("assets/");
}

std::string TestProgram() {
#ifdef _WIN32
    return platform::AppDir() + "zandrovia-testprogram.exe";
#else
    return platform::AppDir() + "zandrovia-testprogram";
#endif
}

}  // namespace testsupport
