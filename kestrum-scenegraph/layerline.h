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

    float X2() const { return __Location2.x; }
    void X2(float x) { __Location2.x = x; }
    float Y2() const { return __Location2.y; }
    void Y2(float y) { __Location2.y = y; }
    platform::Vec2f Location2() const { return __Location2; }
    void Location2(platform::Vec2f point) { __Location2 = point; }

    void Images(ImageArray images) { __Images = std::move(images); }
    const ImageArray& Images() const { return __Images; }
    void Image(const platform::ImagePtr& image);
    // The image at Round(Frame) wrapped into the images; null without images.
    platform::ImagePtr Image() const;
    int Frames() const { return __Images ? static_cast<int>(__Images->size()) : 0; }
    int LastFrame() const { return Frames() - 1; }

    // The size moves the end point; the getters measure the segment.
    using LayerObject::Height;
    using LayerObject::Width;
    void Width(float width) override { __Location2.x = X() + width; }
    float Width() const override;
    void Height(float height) override { __Location2.y = Y() + height; }
    float Height() const override;
    void Draw(platform::Canvas& canvas) override;

private:
    ImageArray __Images;
    platform::Vec2f __Location2{0, 0};
};

}  // namespace kestrum::scenegraph
