// LayerLine: a segment from the object's Location to a second point, drawn as
// a plain line or as an image strip laid along it. It is filed in its
// layer's grid under its start point only.
#pragma once

#include <memory>

#include "kestrum-scenegraph/layerobject.h"
#include "platform/image.h"

namespace kestrum::scenegraph {

class LayerLine : public LayerObject {
public:
    LayerLine() = default;

    static std::shared_ptr<LayerLine> New(scenegraph::Layer* layer);
    static std::shared_ptr<LayerLine> New(scenegraph::Layer* layer, ImageArray images);
    static std::shared_ptr<LayerLine> New(scenegraph::Layer* layer, const platform::ImagePtr& image);
    // A line from (x1, y1) to (x2, y2), filed under its start point.
    static std::shared_ptr<LayerLine> New(scenegraph::Layer* layer, float x1, float y1, float x2, float y2);

    // Index of the strip image, rounded and wrapped into the images.
    float Frame = 0;
    // 1, 2, 3 = strip modes 0, 1, 2 of DrawThickLine; without images a plain line.
    int DrawMode = 1;

    float X2() const { return Location2_.x; }
    void X2(float x) { Location2_.x = x; }
    float Y2() const { return Location2_.y; }
    void Y2(float y) { Location2_.y = y; }
    platform::Vec2f Location2() const { return Location2_; }
    void Location2(platform::Vec2f point) { Location2_ = point; }

    void Images(ImageArray images) { Images_ = std::move(images); }
    const ImageArray& Images() const { return Images_; }
    void Image(const platform::ImagePtr& image);
    // The image at Round(Frame) wrapped into the images; null without images.
    platform::ImagePtr Image() const;
    int Frames() const { return Images_ ? static_cast<int>(Images_->size()) : 0; }
    int LastFrame() const { return Frames() - 1; }

    // The size moves the end point; the getters measure the segment.
    using LayerObject::Height;
    using LayerObject::Width;
    void Width(float width) override { Location2_.x = X() + width; }
    float Width() const override;
    void Height(float height) override { Location2_.y = Y() + height; }
    float Height() const override;
    void Draw(platform::Canvas& canvas) override;

private:
    ImageArray Images_;
    platform::Vec2f Location2_{0, 0};
};

}  // namespace kestrum::scenegraph
