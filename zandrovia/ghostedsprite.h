// Zandrovia: the multi-frame sprite of the ships and most enemies, with a
// hit flash.
//
// The owner picks the frame (the sprite does not animate by itself). While
// GhostCount is above 0 every draw shows the ghost frame set (the game's are
// white silhouettes) in GhostBlend and GhostColor instead of the normal
// frame, and lowers GhostCount by one: a hit raises it to flash the sprite
// for that many drawn frames. Both sets are indexed by Frame, each wrapped
// by its own length. A missing set or frame (an image that failed to load)
// draws nothing and measures 0.
//
// Depends on kestrum-scenegraph (LayerObject, LayerGroup) and kestrum-framework (DrawImageEx).
#pragma once

#include <memory>

#include "kestrum-scenegraph/layerobject.h"
#include "kestrum-scenegraph/objectlist.h"
#include "platform/canvas.h"

class GhostedSprite : public kestrum::scenegraph::LayerObject {
public:
    using ImageArray = kestrum::scenegraph::ImageArray;

    GhostedSprite() = default;
    // A sprite joined to the group as a member, with its two frame sets.
    static std::shared_ptr<GhostedSprite> New(kestrum::scenegraph::LayerGroup* group, ImageArray images,
                                              ImageArray ghostImages);

    // Extra scale on top of the object's ScaleX and ScaleY (this hides the
    // base's Scale pair, which stays reachable through ScaleX and ScaleY).
    float Scale = 1.0f;
    // The current frame index, set by the owner.
    float Frame = 0;
    // Draws still to show in ghost mode.
    int GhostCount = 0;
    int GhostBlend = platform::BlendMode::Alpha;
    platform::Color GhostColor{1, 1, 1, 1};
    ImageArray GhostImages;

    // Mirror signs: a negative value stores -1, a positive one +1, 0 keeps the sign.
    void FlippedX(int sign);
    int FlippedX() const { return FlippedX_; }
    void FlippedY(int sign);
    int FlippedY() const;

    void Images(ImageArray images) { Images_ = std::move(images); }
    const ImageArray& Images() const { return Images_; }
    // Makes the frame set a single image.
    void Image(const platform::ImagePtr& image);
    // The image of the current frame in the normal (ghost) set; null without one.
    platform::ImagePtr Image() const { return Pick_(Images_); }
    platform::ImagePtr GhostImage() const { return Pick_(GhostImages); }

    int Frames() const { return Images_ ? static_cast<int>(Images_->size()) : 0; }
    int GhostFrames() const { return GhostImages ? static_cast<int>(GhostImages->size()) : 0; }
    int LastFrame() const { return Frames() - 1; }
    int LastGhostFrame() const { return GhostFrames() - 1; }

    // Size of the current normal frame's image, unscaled; 0 without one.
    float Width() const override;
    float Height() const override;
    using LayerObject::Height;
    using LayerObject::Width;

    void Draw(platform::Canvas& canvas) override;

    // The index of Frame in a set of count images: the whole part of the
    // remainder of Frame / count, 0 for an empty set.
    static int FrameIndex(float frame, int count);

private:
    platform::ImagePtr Pick_(const ImageArray& set) const;

    int FlippedX_ = 1;
    int FlippedY_ = 1;
    ImageArray Images_;
};
