// Bitmap font: text drawn from one image per character. Each of the 256
// character codes 0 to 255 has an image, an advance width (the image's width)
// and a drawing offset; a text is laid out left to right from those, with a
// uniform extra spacing after every character, a scale and an alignment
// handle given as a fraction of the text's width and of the line height.
//
// Characters above code 255 have no entry: they draw nothing and measure 0
// (no spacing either). Texts are UTF-8; a character is one code point.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "platform/canvas.h"
#include "platform/image.h"
#include "platform/types.h"

namespace kestrum::framework::bitmapfont {

class BitmapFont {
public:
    using ImagePtr = std::shared_ptr<platform::Image>;
    static constexpr int CharCount = 256;

    BitmapFont() = default;

    // Sets the character's image and width (the image's width); Height grows
    // to the image's height. A code outside 0 to 255 changes nothing; a null
    // image empties the entry.
    void SetChar(const ImagePtr& image, int code);
    // Loads the image at a content path ("asset::" put in front unless the
    // path holds ":" or "..") and sets it. When the image does not load, the
    // entry is left empty, "Image not found: <path>" is printed and the
    // result is false.
    bool LoadChar(const std::string& path, int code);

    ImagePtr CharImage(int code) const;
    int CharWidth(int code) const;
    int CharOffsetX(int code) const;
    int CharOffsetY(int code) const;

    // Sum of (Spacing + width) over the characters, times scale; the spacing
    // after the last character is included.
    float TextWidth(std::string_view text, float scale = 1) const;
    // scale × Height, whatever the text.
    float TextHeight(std::string_view text, float scale = 1) const;

    void Draw(platform::Canvas& canvas, std::string_view text, float x, float y, float scaleX = 1,
              float scaleY = 1, float handleX = 0, float handleY = 0) const;
    void Draw(platform::Canvas& canvas, std::string_view text, platform::Vec2f location,
              platform::Vec2f scale = {1, 1}, platform::Vec2f handle = {0, 0}) const;

    float Height = 0;
    int Spacing = 0;
    std::array<int, CharCount> Widths{};
    std::array<ImagePtr, CharCount> Images{};
    std::array<int, CharCount> OffsetsX{};
    std::array<int, CharCount> OffsetsY{};

private:
    static bool InTable(char32_t code) { return code < static_cast<char32_t>(CharCount); }
    // The unscaled advance of a text.
    double Advance(std::string_view text) const;
};

}  // namespace kestrum::framework::bitmapfont

namespace kestrum::framework {
using namespace bitmapfont;
}
