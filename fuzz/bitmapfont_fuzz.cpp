// The bitmap font: character images of any size, offsets and spacing taken
// from the input, then texts measured with them.
#include <memory>
#include <string>

#include "fuzzsupport.h"
#include "kestrum-framework/bitmapfont.h"
#include "platform/image.h"

namespace fw = kestrum::framework;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::Start();
    fuzzsupport::Input input(data, size);
    fw::BitmapFont font;
    const int characters = input.Int(0, 8);
    for (int i = 0; i < characters; ++i) {
        const int code = input.Int(-2, 300);
        const int width = input.Int(0, 64), height = input.Int(0, 64);
        font.SetChar(width > 0 && height > 0
                         ? std::make_shared<platform::Image>(std::make_shared<platform::Pixmap>(width, height))
                         : nullptr,
                     code);
    }
    font.Spacing = input.Int(-2147483647 - 1, 2147483647);
    const std::string text(input.Rest());
    font.TextWidth(text, 2.5f);
    font.TextHeight(text);
    for (int code = 0; code < fw::BitmapFont::CharCount; ++code) font.CharWidth(code);
    font.CharImage(-1);
    font.CharOffsetX(400);
    return 0;
}
