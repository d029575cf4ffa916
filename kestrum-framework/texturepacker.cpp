// Texture-atlas reader. Depends on the platform's images and text functions.
#include "kestrum-framework/texturepacker.h"

#include "kestrum-framework/math.h"
#include "platform/text.h"

namespace kestrum::framework::texturepacker {

std::optional<TexturePacker::Entry> TexturePacker::ReadEntry(std::string_view line) {
    const auto fields = platform::Split(line, ":");
    if (fields.size() != 5) return std::nullopt;
    const int x = platform::ToInt(fields[1]);
    const int y = platform::ToInt(fields[2]);
    const int width = platform::ToInt(fields[3]);
    const int height = platform::ToInt(fields[4]);
    return Entry{fields[0], platform::Recti(x, y, math::SaturatingAdd(x, width), math::SaturatingAdd(y, height))};
}

std::vector<TexturePacker::ImagePtr> TexturePacker::GrabImages(const ImagePtr& atlas, std::string_view text,
                                                               std::vector<ImagePtr> images) {
    if (!atlas) return images;
    for (const auto& line : platform::Split(text, "\n")) {
        const auto entry = ReadEntry(line);
        if (entry) images.push_back(std::make_shared<platform::Image>(*atlas, entry->Rect));
    }
    return images;
}

TexturePacker::ImagePtr TexturePacker::GrabImage(const ImagePtr& atlas, std::string_view text,
                                                 std::string_view name) {
    if (!atlas) return nullptr;
    for (const auto& line : platform::Split(text, "\n")) {
        if (!platform::StartsWith(line, name)) continue;
        if (const auto entry = ReadEntry(line)) return std::make_shared<platform::Image>(*atlas, entry->Rect);
    }
    return nullptr;
}

}  // namespace kestrum::framework::texturepacker
