// Bitmap font. Depends on the asset-path rule and the platform's images,
// canvas and text functions.
#include "kestrum-framework/bitmapfont.h"

#include <cstdint>
#include <cstdio>

#include "kestrum-framework/assetpath.h"
#include "platform/text.h"

namespace kestrum::framework::bitmapfont {

namespace {
bool ValidCode(int code) { return code >= 0 && code < BitmapFont::CharCount; }
}  // namespace

void BitmapFont::SetChar(const ImagePtr& image, int code) {
    if (!ValidCode(code)) return;
    const auto index = static_cast<std::size_t>(code);
    Images[index] = image;
    Widths[index] = image ? image->Width() : 0;
    if (image && static_cast<float>(image->Height()) > Height) Height = static_cast<float>(image->Height());
}

bool BitmapFont::LoadChar(const std::string& path, int code) {
    if (!ValidCode(code)) return false;
    const std::string resolved = assetpath::ResolvePath(path, "asset::");
    auto image = platform::Image::Load(resolved, nullptr, platform::TextureFlags::FilterMipmap);
    SetChar(image, code);
    if (!image) {
        std::printf("Image not found: %s\n", resolved.c_str());
        std::fflush(stdout);
        return false;
    }
    return true;
}

BitmapFont::ImagePtr BitmapFont::CharImage(int code) const {
    return ValidCode(code) ? Images[static_cast<std::size_t>(code)] : nullptr;
}

int BitmapFont::CharWidth(int code) const { return ValidCode(code) ? Widths[static_cast<std::size_t>(code)] : 0; }

int BitmapFont::CharOffsetX(int code) const {
    return ValidCode(code) ? OffsetsX[static_cast<std::size_t>(code)] : 0;
}

int BitmapFont::CharOffsetY(int code) const {
    return ValidCode(code) ? OffsetsY[static_cast<std::size_t>(code)] : 0;
}

double BitmapFont::Advance(std::string_view text) const {
    // Summed in 64 bits: a spacing near the ends of the Int range overflows
    // an Int after a character or two.
    std::int64_t width = 0;
    for (char32_t c : platform::ToUtf32(text)) {
        if (InTable(c)) width += std::int64_t{Spacing} + Widths[c];
    }
    return static_cast<double>(width);
}

float BitmapFont::TextWidth(std::string_view text, float scale) const {
    return static_cast<float>(Advance(text)) * scale;
}

float BitmapFont::TextHeight(std::string_view, float scale) const { return scale * Height; }

void BitmapFont::Draw(platform::Canvas& canvas, std::string_view text, float x, float y, float scaleX,
                      float scaleY, float handleX, float handleY) const {
    const float width = static_cast<float>(Advance(text));
    float penX = x - width * scaleX * handleX;
    const float penY = y - handleY * (scaleY * Height);
    for (char32_t c : platform::ToUtf32(text)) {
        if (!InTable(c)) continue;
        if (const auto& image = Images[c]) {
            canvas.DrawImage(*image, penX + scaleX * static_cast<float>(OffsetsX[c]),
                             penY + scaleY * static_cast<float>(OffsetsY[c]), 0, scaleX, scaleY);
        }
        penX += scaleX * static_cast<float>(Spacing + Widths[c]);
    }
}

void BitmapFont::Draw(platform::Canvas& canvas, std::string_view text, platform::Vec2f location,
                      platform::Vec2f scale, platform::Vec2f handle) const {
    Draw(canvas, text, location.x, location.y, scale.x, scale.y, handle.x, handle.y);
}

}  // namespace kestrum::framework::bitmapfont
