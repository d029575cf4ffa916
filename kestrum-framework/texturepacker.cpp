// Texture-atlas reader. Depends on the platform's images and text functions.
#include "kestrum-framework/texturepacker.h"

#include "platform/text.h"

namespace kestrum::framework::texturepacker {

namespace {

// The sub-image of one description line split into its five fields.
TexturePacker::ImagePtr Cut(const platform::Image& atlas, const std::vector<std::string>& fields) {
    const int x = platform::ToInt(fields[1]);
    const int y = platform::ToInt(fields[2]);
    const int width = platform::ToInt(fields[3]);
    const int height = platform::ToInt(fields[4]);
    return std::make_shared<platform::Image>(atlas, platform::Recti(x, y, x + width, y + height));
}

}  // namespace

std::vector<TexturePacker::ImagePtr> TexturePacker::GrabImages(const ImagePtr& atlas, std::string_view text,
                                                               std::vector<ImagePtr> images) {
    if (!atlas) return images;
    for (const auto& line : platform::Split(text, "\n")) {
        const auto fields = platform::Split(line, ":");
        if (fields.size() == 5) images.push_back(Cut(*atlas, fields));
    }
    return images;
}

TexturePacker::ImagePtr TexturePacker::GrabImage(const ImagePtr& atlas, std::string_view text,
                                                 std::string_view name) {
    if (!atlas) return nullptr;
    for (const auto& line : platform::Split(text, "\n")) {
        if (!platform::StartsWith(line, name)) continue;
        const auto fields = platform::Split(line, ":");
        if (fields.size() == 5) return Cut(*atlas, fields);
    }
    return nullptr;
}

}  // namespace kestrum::framework::texturepacker
