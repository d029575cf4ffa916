// LayerSprite: the image object of the scene graph. It shows one image of an
// array of frames, as a plain image or, in a lit layer, as a light. It can
// animate by itself (one frame per entry of FrameTimes, measured against the
// scene clock) or copy the frame of a leader sprite (its Synchronizer). Its
// size is the size of its current image.
#pragma once

#include <memory>
#include <vector>

#include "kestrum-scenegraph/layerobject.h"
#include "platform/image.h"

namespace kestrum::scenegraph {

class LayerSprite : public LayerObject {
public:
    LayerSprite() = default;

    // A sprite placed in the layer or group with the frame array itself
    // (shared, not copied) or a single image.
    static std::shared_ptr<LayerSprite> New(scenegraph::Layer* layer, ImageArray images);
    static std::shared_ptr<LayerSprite> New(scenegraph::Layer* layer, const platform::ImagePtr& image);
    static std::shared_ptr<LayerSprite> New(LayerGroup* group, ImageArray images);
    static std::shared_ptr<LayerSprite> New(LayerGroup* group, const platform::ImagePtr& image);

    // Current frame; rounded when it picks an image, wrapped into the frames.
    float Frame = 0;
    // Duration of each frame in ms of scene time; the sprite animates only
    // while it has as many entries as there are images.
    std::vector<int> FrameTimes;
    // Scene time of the last frame advance.
    int LastFrameChange = -1;
    // Leader whose Frame this sprite copies every update instead of animating.
    std::shared_ptr<LayerSprite> Synchronizer;
    // 1 draws the image, 2 adds it as a light of a lit layer, any other
    // value draws only the debug overlays.
    int DrawMode = 1;

    void Images(ImageArray images) { Images_ = std::move(images); }
    void Images(std::vector<platform::ImagePtr> images);
    const ImageArray& Images() const { return Images_; }
    // A single frame. An array of exactly one element is written in place,
    // so every sprite sharing it shows the new image too.
    void Image(const platform::ImagePtr& image);
    // The frame at Round(Frame) wrapped into the frames, or the placeholder
    // image without frames or for a null entry.
    platform::ImagePtr Image() const;
    int Frames() const { return Images_ ? static_cast<int>(Images_->size()) : 0; }
    int LastFrame() const { return Frames() - 1; }

    // Negative stores -1, positive +1, 0 keeps the sign.
    void FlippedX(int sign);
    int FlippedX() const { return FlippedX_; }
    void FlippedY(int sign);
    int FlippedY() const { return FlippedY_; }
    // The three flip signs of a tile (-1 = flipped); the diagonal flip turns
    // the sprite by a quarter.
    void Flip(int flippedX, int flippedY, int flippedXY);

    // One step of the timed animation: at most one frame per update.
    void Animate();

    using LayerObject::Height;
    using LayerObject::Width;
    float Width() const override;
    float Height() const override;
    void OnUpdate() override;
    void Draw(platform::Canvas& canvas) override;

protected:
    // The image, light or overlays by DrawMode.
    void DrawSprite_(platform::Canvas& canvas);

private:
    ImageArray Images_;
    int FlippedX_ = 1;
    int FlippedY_ = 1;
};

// CopyLayerObject, then the flips and the frame array (shared).
std::shared_ptr<LayerSprite> CopyLayerObject(const std::shared_ptr<LayerSprite>& source,
                                             const std::shared_ptr<LayerSprite>& target);

}  // namespace kestrum::scenegraph
