// Zandrovia: animations packed onto shared atlas pages.
#include "zandrovia/spriteatlas.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

#include "kestrum-framework/gfx.h"
#include "platform/files.h"
#include "zandrovia/loader.h"

namespace {

constexpr platform::Color NoTint{0, 0, 0, 0};
constexpr std::size_t NoSlot = std::numeric_limits<std::size_t>::max();

void PrintNotFound(const std::string& path) {
    std::printf("Image not found: %s\n", path.c_str());
    std::fflush(stdout);
}

}  // namespace

platform::Vec2i PngSize(const std::string& diskPath) {
    // The signature, then the first chunk, which must be the header: its
    // length, "IHDR", the width and the height as big-endian numbers.
    unsigned char head[24];
    std::FILE* file = std::fopen(diskPath.c_str(), "rb");
    if (!file) return {0, 0};
    const std::size_t read = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (read != sizeof head || std::memcmp(head, signature, 8) != 0 || std::memcmp(head + 12, "IHDR", 4) != 0) {
        return {0, 0};
    }
    const auto number = [&](int at) {
        const std::uint32_t value = (std::uint32_t{head[at]} << 24) | (std::uint32_t{head[at + 1]} << 16) |
                                    (std::uint32_t{head[at + 2]} << 8) | std::uint32_t{head[at + 3]};
        // PNG allows at most 2^31 - 1; anything above is no picture of ours.
        return value > 0x7FFFFFFFu ? 0 : static_cast<int>(value);
    };
    return {number(16), number(20)};
}

SpriteAtlas::SpriteAtlas(std::vector<Animation> animations) : animations_(std::move(animations)) {}

bool SpriteAtlas::Prepare(std::size_t count) {
    if (builder_) return true;
    for (; count > 0 && firstSlots_.size() < animations_.size(); --count) {
        const std::size_t index = firstSlots_.size();
        const std::size_t first = sizes_.size();
        firstSlots_.push_back(first);
        for (int i = 0; i < animations_[index].Count; ++i) {
            sizes_.push_back(PngSize(platform::RealPath(FramePath_(index, i))));
        }
        // The flash frames have the sizes of the frames they are copied from.
        if (animations_[index].Flash) {
            for (std::size_t i = first, end = sizes_.size(); i < end; ++i) sizes_.push_back(sizes_[i]);
        }
    }
    if (firstSlots_.size() < animations_.size()) return false;
    builder_ = std::make_unique<kestrum::framework::AtlasBuilder>(sizes_);
    sizes_ = {};
    return true;
}

const std::vector<kestrum::framework::AtlasBuilder::ImagePtr>& SpriteAtlas::Pages() {
    Prepare();
    return builder_->Pages();
}

std::string SpriteAtlas::FramePath_(std::size_t index, int i) const {
    const Animation& animation = animations_[index];
    return animation.Single ? animation.Path : AnimationFramePath(animation.Path, i);
}

std::size_t SpriteAtlas::FirstSlot_(std::size_t index, bool flash) const {
    if (!flash) return firstSlots_[index];
    if (!animations_[index].Flash) return NoSlot;
    return firstSlots_[index] + static_cast<std::size_t>(animations_[index].Count);
}

platform::ImagePtr SpriteAtlas::LoadFrame_(const std::string& framePath, std::size_t slot, platform::Color tint) {
    platform::PixmapPtr pixels = platform::Pixmap::Load(platform::RealPath(framePath));
    if (!pixels) {
        PrintNotFound(framePath);
        return nullptr;
    }
    const bool tinted = !(tint == NoTint);
    platform::ImagePtr frame =
        tinted ? builder_->PlaceMasked(slot, *pixels, {0, 0, pixels->Width(), pixels->Height()}, tint)
               : builder_->Place(slot, *pixels);
    if (!frame) {
        frame = tinted ? kestrum::framework::MaskImage(std::move(pixels), tint, platform::TextureFlags::FilterMipmap)
                       : std::make_shared<platform::Image>(std::move(pixels), platform::TextureFlags::FilterMipmap,
                                                           nullptr);
    }
    frame->Handle({0.5f, 0.5f});
    return frame;
}

kestrum::scenegraph::ImageArray SpriteAtlas::Frames(std::size_t index, platform::Color tint) {
    if (index >= animations_.size()) return nullptr;
    Prepare();
    const Animation& animation = animations_[index];
    if (animation.Count <= 0) return nullptr;
    auto frames = std::make_shared<std::vector<platform::ImagePtr>>(static_cast<std::size_t>(animation.Count));
    const std::size_t first = FirstSlot_(index, false);
    for (std::size_t i = 0; i < frames->size(); ++i) {
        (*frames)[i] = LoadFrame_(FramePath_(index, static_cast<int>(i)), first + i, tint);
    }
    return frames;
}

kestrum::scenegraph::ImageArray SpriteAtlas::Flash(std::size_t index, const kestrum::scenegraph::ImageArray& frames,
                                                   platform::Color tint) {
    if (index >= animations_.size()) return nullptr;
    Prepare();
    const Animation& animation = animations_[index];
    if (animation.Count <= 0) return nullptr;
    const auto count = static_cast<std::size_t>(animation.Count);
    const bool matching = frames && frames->size() == count;
    auto flash = std::make_shared<std::vector<platform::ImagePtr>>(count);
    const std::size_t first = FirstSlot_(index, true);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t slot = first == NoSlot ? NoSlot : first + i;
        const platform::ImagePtr& normal = matching ? (*frames)[i] : nullptr;
        const platform::Texture* texture = normal ? normal->GetTexture().get() : nullptr;
        const platform::PixmapPtr pixels = texture ? texture->GetPixmap() : nullptr;
        const platform::Recti rect = normal ? normal->Rect() : platform::Recti{};
        if (!pixels || rect.Width() <= 0 || rect.Height() <= 0 || rect.min.x < 0 || rect.min.y < 0 ||
            rect.max.x > pixels->Width() || rect.max.y > pixels->Height()) {
            (*flash)[i] = LoadFrame_(FramePath_(index, static_cast<int>(i)), slot, tint);
            continue;
        }
        platform::ImagePtr frame = builder_->PlaceMasked(slot, *pixels, rect, tint);
        if (!frame) {
            // No slot for it: a silhouette of its own, from a copy of the frame's pixels.
            auto copy = std::make_shared<platform::Pixmap>(rect.Width(), rect.Height());
            for (int y = 0; y < rect.Height(); ++y) {
                std::memcpy(copy->Data() + static_cast<std::size_t>(y) * rect.Width() * 4,
                            pixels->Data() + (static_cast<std::size_t>(rect.min.y + y) * pixels->Width() + rect.min.x) * 4,
                            static_cast<std::size_t>(rect.Width()) * 4);
            }
            frame = kestrum::framework::MaskImage(std::move(copy), tint, platform::TextureFlags::FilterMipmap);
        }
        frame->Handle({0.5f, 0.5f});
        (*flash)[i] = std::move(frame);
    }
    return flash;
}
