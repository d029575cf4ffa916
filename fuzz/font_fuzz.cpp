// Font loading through FreeType: TrueType and OpenType outlines and bitmap
// faces, rasterised into the glyph atlas, then measured and fitted.
#include <string>

#include "fuzzsupport.h"
#include "kestrum-framework/font.h"
#include "platform/font.h"

namespace fw = kestrum::framework;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::Start();
    // The whole input is the font file, so real fonts seed it as they are;
    // its last byte (padding in most fonts) picks the size: mostly one the
    // game uses, now and then one up to the largest allowed and beyond.
    const std::uint8_t pick = size > 0 ? data[size - 1] : 0;
    const float fontSize = pick < 240 ? 1.0f + pick % 48 : -8.0f + (pick - 240) * 40.0f;
    const std::string path =
        fuzzsupport::WriteFile("face.ttf", std::string_view(reinterpret_cast<const char*>(data), size));
    const auto font = platform::Font::Load(path, fontSize);
    if (!font) return 0;
    const std::string sample = "Hallo Welt! \xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F \xE2\x82\xAC AVAWTo\n\x01\xFF";
    font->TextWidth(sample);
    font->HasGlyph(U'A');
    font->Kerning(U'A', U'V');
    fw::TextWidth(font, sample);
    fw::TextHeight(font, sample);
    fw::FitText(font, "one two three four five six", 40);
    const auto& atlas = font->Atlas();
    if (!atlas || atlas->Width() <= 0 || atlas->Height() <= 0) fuzzsupport::Fail("a font without an atlas");
    return 0;
}
