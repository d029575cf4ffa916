// The offscreen GL fixture and pixel checks shared by the rendering tests.
#include <cmath>
#include <cstdio>

#include "testsupport.h"

namespace testsupport {

platform::AppInstance& App() {
    // Made once and kept for the whole test process: GL objects of earlier
    // tests stay valid, and SDL is never started twice.
    static platform::AppInstance* app = [] {
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
