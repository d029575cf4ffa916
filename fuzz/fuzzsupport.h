// Helpers shared by the fuzz targets: one start-up per process, scratch
// files for loaders that read from a path, and a reader that takes small
// parameters off the front of an input.
//
// Every target defines LLVMFuzzerTestOneInput. Built with ZANDROVIA_FUZZ it
// links libFuzzer's main; otherwise it links replaymain.cpp, which runs each
// file of the folders it is given once (the regression run of the tests).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzzsupport {

// Once per process: standard output goes to /dev/null (set
// ZANDROVIA_FUZZ_VERBOSE to keep it), the assets folder is the source
// tree's (or ZANDROVIA_ASSETS), the millisecond clock stands still at 1000,
// and the scene-graph, GUI and game modules are started. Later calls return
// at once.
void Start();

// The scratch folder of this process ("/" appended), in /dev/shm when there
// is one so that saves that flush to disk stay fast.
const std::string& ScratchDir();

// Writes the bytes to the named file of the scratch folder and returns its path.
std::string WriteFile(std::string_view name, std::string_view bytes);

// Stops the process with a message on standard error: libFuzzer and the
// regression run then report the input as a crash. For broken invariants
// that are not memory errors.
[[noreturn]] void Fail(const std::string& message);

// Takes parameters off the front of an input; once the input is used up
// every request gives its lowest value.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t Byte();
    // A number from low to high (inclusive) from up to four bytes.
    int Int(int low, int high);
    bool Bool() { return (Byte() & 1) != 0; }
    // The next bytes up to a "\n" or the end (the "\n" is consumed).
    std::string Line();
    // Everything not taken yet.
    std::string_view Rest() const { return rest_; }

private:
    std::string_view rest_;
};

}  // namespace fuzzsupport
