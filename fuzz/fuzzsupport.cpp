#include "fuzzsupport.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "kestrum-gui/gui.h"
#include "kestrum-scenegraph/scenegraph.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "zandrovia/zandrovia.h"

namespace fuzzsupport {

void Start() {
    static bool started = false;
    if (started) return;
    started = true;
    if (!std::getenv("ZANDROVIA_FUZZ_VERBOSE")) {
#ifdef _WIN32
        const char* nowhere = "NUL";
#else
        const char* nowhere = "/dev/null";
#endif
        if (!std::freopen(nowhere, "w", stdout)) Fail("cannot silence standard output");
    }
    const char* assets = std::getenv("ZANDROVIA_ASSETS");
    platform::SetAssetsDir(assets && *assets ? assets : ZANDROVIA_SOURCE_ASSETS);
    platform::SetMillisecsSource([] { return std::int64_t{1000}; });
    kestrum::scenegraph::InitScenegraphModule();
    kestrum::gui::InitGuiModule();
    InitGameModule();
}

namespace {

std::string& Scratch() {
    static std::string dir;
    return dir;
}

void RemoveScratch() {
    std::error_code ignored;
    std::filesystem::remove_all(Scratch(), ignored);
}

}  // namespace

const std::string& ScratchDir() {
    std::string& dir = Scratch();
    if (dir.empty()) {
#ifdef _WIN32
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        const int process = _getpid();
#else
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        const int process = static_cast<int>(getpid());
#endif
        const std::filesystem::path path = base / ("zandrovia-fuzz-" + std::to_string(process));
        std::filesystem::create_directories(path);
        dir = path.string() + "/";
        // The folder goes when the process ends normally; a crash leaves it for a look.
        std::atexit(RemoveScratch);
    }
    return dir;
}

std::string WriteFile(std::string_view name, std::string_view bytes) {
    const std::string path = ScratchDir() + std::string(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) Fail("cannot write " + path);
    return path;
}

void Fail(const std::string& message) {
    std::fprintf(stderr, "fuzz invariant broken: %s\n", message.c_str());
    std::fflush(stderr);
    std::abort();
}

std::uint8_t Input::Byte() {
    if (rest_.empty()) return 0;
    const auto byte = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return byte;
}

int Input::Int(int low, int high) {
    const std::uint64_t range = static_cast<std::uint64_t>(static_cast<std::int64_t>(high) - low) + 1;
    std::uint64_t value = 0;
    for (std::uint64_t span = 1; span < range && span != 0; span <<= 8) value = (value << 8) | Byte();
    return static_cast<int>(static_cast<std::int64_t>(low) + static_cast<std::int64_t>(value % range));
}

std::string Input::Line() {
    const std::size_t end = rest_.find('\n');
    std::string line(rest_.substr(0, end));
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
    return line;
}

}  // namespace fuzzsupport
