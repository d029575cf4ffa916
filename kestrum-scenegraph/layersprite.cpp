#include "kestrum-scenegraph/layersprite.h"

#include <cmath>
#include <numbers>

#include "kestrum-framework/arrays.h"
#include "kestrum-framework/contentmanager.h"
#include "kestrum-framework/gfx.h"
#include "kestrum-framework/math.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/layergroup.h"
#include "kestrum-scenegraph/scene.h"

namespace kestrum::scenegraph {

std::shared_ptr<LayerSprite> LayerSprite::New(scenegraph::Layer* layer, ImageArray images) {
    auto sprite = std::make_shared<LayerSprite>();
    sprite->Layer(layer);
    sprite->Images(std::move(images));
    return sprite;
}

std::shared_ptr<LayerSprite> LayerSprite::New(scenegraph::Layer* layer, const platform::ImagePtr& image) {
    auto sprite = std::make_shared<LayerSprite>();
    sprite->Layer(layer);
    sprite->Image(image);
    return sprite;
}

std::shared_ptr<LayerSprite> LayerSprite::New(LayerGroup* group, ImageArray images) {
    auto sprite = std::make_shared<LayerSprite>();
    sprite->Group(group);
    sprite->Images(std::move(images));
    return sprite;
}

std::shared_ptr<LayerSprite> LayerSprite::New(LayerGroup* group, const platform::ImagePtr& image) {
    auto sprite = std::make_shared<LayerSprite>();
    sprite->Group(group);
    sprite->Image(image);
    return sprite;
}

void LayerSprite::Images(std::vector<platform::ImagePtr> images) {
    Images_ = std::make_shared<std::vector<platform::ImagePtr>>(std::move(images));
}

void LayerSprite::Image(const platform::ImagePtr& image) { SetSingleImage(Images_, image); }

platform::ImagePtr LayerSprite::Image() const { return framework::NullImage(FrameImage(Images_, Frame)); }

float LayerSprite::Width() const {
    const platform::ImagePtr image = Image();
    return image ? static_cast<float>(image->Width()) : 0.0f;
}

float LayerSprite::Height() const {
    const platform::ImagePtr image = Image();
    return image ? static_cast<float>(image->Height()) : 0.0f;
}

void LayerSprite::FlippedX(int sign) {
    if (sign != 0) FlippedX_ = sign < 0 ? -1 : 1;
}

void LayerSprite::FlippedY(int sign) {
    if (sign != 0) FlippedY_ = sign < 0 ? -1 : 1;
}

void LayerSprite::Flip(int flippedX, int flippedY, int flippedXY) {
    constexpr float quarter = 2.0f * std::numbers::pi_v<float> * 0.25f;
    if (flippedXY != -1) {
        if (flippedX == -1) FlippedX_ = -1;
        if (flippedY == -1) FlippedY_ = -1;
        return;
    }
    if (flippedX == -1) {
        Rotation += quarter;
        if (flippedY == -1) FlippedX_ = -1;
    } else {
        Rotation -= quarter;
        if (flippedY != -1) FlippedX_ = -1;
    }
}

void LayerSprite::Animate() {
    const scenegraph::Layer* layer = Layer();
    if (layer == nullptr || layer->Scene() == nullptr) return;
    if (FrameTimes.empty() || !Images_ || Images_->size() != FrameTimes.size()) return;
    const float time = layer->Scene()->Time;
    // Truncated like the frame counter, and wrapped so that a frame moved
    // past the end or below zero never reads outside the list.
    const int count = static_cast<int>(FrameTimes.size());
    const int i = WrapIndex(TruncToInt(Frame), count);
    if (static_cast<float>(LastFrameChange + FrameTimes[static_cast<std::size_t>(i)]) <= time) {
        Frame += 1;
        if (Frame > static_cast<float>(LastFrame())) Frame = 0;
        LastFrameChange = TruncToInt(time);
    }
}

void LayerSprite::OnUpdate() {
    if (Synchronizer) {
        Frame = Synchronizer->Frame;
    } else {
        Animate();
    }
}

void LayerSprite::Draw(platform::Canvas& canvas) { DrawSprite_(canvas); }

void LayerSprite::DrawSprite_(platform::Canvas& canvas) {
    if (DrawMode == 1) {
        canvas.BlendMode(BlendMode);
        canvas.Color(Color);
        framework::DrawImageEx(canvas, Image(), X(), Y(), -Rotation, Scale.x * static_cast<float>(FlippedX_),
                               Scale.y * static_cast<float>(FlippedY_), Handle.x, Handle.y, false);
    } else if (DrawMode == 2) {
        const scenegraph::Layer* layer = Layer();
        const platform::ImagePtr image = Image();
        if (layer != nullptr && layer->Scene() != nullptr && !layer->AmbientLight.AllZero() && image) {
            canvas.Color(Color);
            // Lights borrow the image, so one image can serve many sprites.
            const platform::Vec2f handle = image->Handle();
            const platform::Vec2f scale = image->Scale();
            image->Scale(Scale);
            image->Handle(Handle);
            canvas.AddLight(*image, X(), Y());
            image->Handle(handle);
            image->Scale(scale);
        }
    }
    LayerObject::Draw(canvas);
}

std::shared_ptr<LayerSprite> CopyLayerObject(const std::shared_ptr<LayerSprite>& source,
                                             const std::shared_ptr<LayerSprite>& target) {
    if (!source || !target) return nullptr;
    CopyLayerObject(std::static_pointer_cast<LayerObject>(source), std::static_pointer_cast<LayerObject>(target));
    target->FlippedX(source->FlippedX());
    target->FlippedY(source->FlippedY());
    target->Images(source->Images());
    return target;
}

}  // namespace kestrum::scenegraph
