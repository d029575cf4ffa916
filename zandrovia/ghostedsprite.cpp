// Zandrovia: the multi-frame sprite with a hit flash.
#include "zandrovia/ghostedsprite.h"

#include <cmath>
#include <cstdio>

#include "kestrum-framework/gfx.h"
#include "kestrum-scenegraph/layergroup.h"
#include "zandrovia/constants.h"

std::shared_ptr<GhostedSprite> GhostedSprite::New(kestrum::scenegraph::LayerGroup* group, ImageArray images,
                                                  ImageArray ghostImages) {
    auto sprite = std::make_shared<GhostedSprite>();
    sprite->Group(group);
    sprite->Images(std::move(images));
    sprite->GhostImages = std::move(ghostImages);
    return sprite;
}

void GhostedSprite::FlippedX(int sign) {
    if (sign < 0) FlippedX_ = -1;
    if (sign > 0) FlippedX_ = 1;
}

void GhostedSprite::FlippedY(int sign) {
    if (sign < 0) FlippedY_ = -1;
    if (sign > 0) FlippedY_ = 1;
}

int GhostedSprite::FlippedY() const {
    if (DebugPrints) {
        std::printf("FlippedY is%d\n", FlippedY_);
        std::fflush(stdout);
    }
    return FlippedY_;
}

void GhostedSprite::Image(const platform::ImagePtr& image) {
    Images_ = std::make_shared<std::vector<platform::ImagePtr>>(1, image);
}

int GhostedSprite::FrameIndex(float frame, int count) {
    if (count <= 0 || !std::isfinite(frame)) return 0;
    int index = static_cast<int>(std::fmod(frame, static_cast<float>(count)));
    // The owner keeps Frame at 0 or above; a negative one still picks a frame of the set.
    if (index < 0) index += count;
    return index < count ? index : 0;
}

platform::ImagePtr GhostedSprite::Pick_(const ImageArray& set) const {
    if (!set || set->empty()) return nullptr;
    return (*set)[static_cast<std::size_t>(FrameIndex(Frame, static_cast<int>(set->size())))];
}

float GhostedSprite::Width() const {
    const platform::ImagePtr image = Image();
    return image ? static_cast<float>(image->Width()) : 0.0f;
}

float GhostedSprite::Height() const {
    const platform::ImagePtr image = Image();
    return image ? static_cast<float>(image->Height()) : 0.0f;
}

void GhostedSprite::Draw(platform::Canvas& canvas) {
    const bool ghost = GhostCount > 0;
    const platform::ImagePtr image = ghost ? GhostImage() : Image();
    if (image) {
        canvas.BlendMode(ghost ? GhostBlend : BlendMode);
        canvas.Color(ghost ? GhostColor : Color);
        kestrum::framework::DrawImageEx(canvas, image, X(), Y(), -Rotation,
                                        static_cast<float>(FlippedX_) * ScaleX() * Scale,
                                        static_cast<float>(FlippedY_) * ScaleY() * Scale, HandleX(), HandleY(),
                                        false);
    }
    if (ghost) --GhostCount;
}
