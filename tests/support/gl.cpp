// The offscreen GL fixture and pixel checks shared by the rendering tests.
#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "testsupport.h"

namespace testsupport {
namespace {

// Whether SDL's offscreen driver can give an OpenGL context here. It draws
// through EGL, which not every system has (Windows has none).
bool OffscreenDrawingWorks() {
    bool listed = false;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) listed = listed || std::strcmp(SDL_GetVideoDriver(i), "offscreen") == 0;
    if (!listed) return false;
#ifdef _WIN32
    if (SDL_VideoInit("offscreen") != 0) return false;
    SDL_Window* window = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    const bool works = context != nullptr;
    if (context) SDL_GL_DeleteContext(context);
    if (window) SDL_DestroyWindow(window);
    SDL_VideoQuit();
    return works;
#else
    return true;
#endif
}

}  // namespace

platform::AppInstance& App() {
    // Made once and kept for the whole test process: GL objects of earlier
    // tests stay valid, and SDL is never started twice.
    static platform::AppInstance* app = [] {
        // Without offscreen drawing the tests use an ordinary hidden window
        // of the system's video driver (under Wine: on the X display).
        if (GetEnv("SDL_VIDEODRIVER") == std::optional<std::string>("offscreen") && !OffscreenDrawingWorks()) {
            SetEnv("SDL_VIDEODRIVER", std::nullopt);
        }
        auto* made = new platform::AppInstance();
        made->SetTerminateHook([] {});
        return made;
    }();
    return *app;
}

std::uint32_t Target::Pixel(int x, int y) {
    const auto pixmap = canvas->CopyPixmap({x, y, x + 1, y + 1});
    return pixmap->GetPixelARGB(0, 0);
}

Target MakeTarget(int width, int height, platform::Color clear) {
    App();
    Target target;
    target.image = std::make_shared<platform::Image>(width, height, 0);
    target.canvas = std::make_unique<platform::Canvas>(target.image);
    target.canvas->Clear(clear);
    return target;
}

bool Near(std::uint32_t argb, platform::Color expected, int tolerance) {
    const int channels[4] = {int(argb >> 24) & 0xff, int(argb >> 16) & 0xff, int(argb >> 8) & 0xff, int(argb) & 0xff};
    const float wanted[4] = {expected.a, expected.r, expected.g, expected.b};
    for (int k = 0; k < 4; ++k) {
        if (std::abs(channels[k] - static_cast<int>(std::lround(wanted[k] * 255))) > tolerance) return false;
    }
    return true;
}

std::string Describe(std::uint32_t argb) {
    char text[64];
    std::snprintf(text, sizeof text, "ARGB(%u, %u, %u, %u)", argb >> 24, (argb >> 16) & 0xff, (argb >> 8) & 0xff,
                  argb & 0xff);
    return text;
}

}  // namespace testsupport
