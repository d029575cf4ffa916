// Helpers shared by the tests of every layer.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/app.h"
#include "platform/canvas.h"
#include "platform/image.h"
#include "platform/types.h"

namespace testsupport {

// The process's application object, made on first use: SDL with the
// offscreen video driver and a GL context with no visible window.
platform::AppInstance& App();

// A render-target image with a canvas drawing into it, cleared to the colour.
struct Target {
    std::shared_ptr<platform::Image> image;
    std::unique_ptr<platform::Canvas> canvas;
    // Flushes the canvas and reads the pixel back as 0xAARRGGBB.
    std::uint32_t Pixel(int x, int y);
};
Target MakeTarget(int width, int height, platform::Color clear = platform::Color::Black());

// Whether every channel of argb lies within tolerance (0-255) of the colour.
bool Near(std::uint32_t argb, platform::Color expected, int tolerance = 3);
std::string Describe(std::uint32_t argb);

// The exit code that a process ending by exit(-1) reports: the low byte on
// POSIX systems, the whole value on Windows.
#ifdef _WIN32
inline constexpr int kExitMinusOne = -1;
#else
inline constexpr int kExitMinusOne = 255;
#endif

// A new empty folder under the system's temporary folder, "/" appended
// (with "/" between the folders on Windows too).
std::string TempDir();

// The assets folder of the source tree and the folder of test data files.
std::string AssetsDir();

// The test program beside the test executables (tests/support/testprogram.cpp),
// standing in for the system's small programs on every system:
//   <program> exit <n>       ends with exit code n
//   <program> args <a>...    writes each argument and a NUL byte to its output
// Under another name it plays that program: as "wget" (or "wget.exe") it
// writes its own name and each argument on a line of FAKE_WGET_LOG (only
// "run" and the --post-data values, to FAKE_WGET_POSTS, when that is set)
// and copies FAKE_WGET_REPLY into the file --output-document names; as
// "tool" it ends with exit code 7.
std::string TestProgram();

// Sets (or with nullopt unsets) an environment variable of the process, for
// the C library and for programs started from here.
void SetEnv(const std::string& name, const std::optional<std::string>& value);
std::optional<std::string> GetEnv(const std::string& name);

// Sets (or with nullopt unsets) an environment variable for one scope and
// puts the old value back afterwards.
class ScopedEnv {
public:
    ScopedEnv(std::string name, std::optional<std::string> value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace testsupport
