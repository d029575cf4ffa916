#include "kestrum-scenegraph/layerline.h"

#include <cmath>

#include "kestrum-framework/arrays.h"
#include "kestrum-framework/gfx.h"
#include "kestrum-framework/math.h"

namespace kestrum::scenegraph {

std::shared_ptr<LayerLine> LayerLine::New(scenegraph::Layer* layer) {
    auto line = std::make_shared<LayerLine>();
    line->Layer(layer);
    return line;
}

std::shared_ptr<LayerLine> LayerLine::New(scenegraph::Layer* layer, ImageArray images) {
    auto line = New(layer);
    line->Images(std::move(images));
    return line;
}

std::shared_ptr<LayerLine> LayerLine::New(scenegraph::Layer* layer, const platform::ImagePtr& image) {
    auto line = New(layer);
    line->Image(image);
    return line;
}

std::shared_ptr<LayerLine> LayerLine::New(scenegraph::Layer* layer, float x1, float y1, float x2, float y2) {
    auto line = std::make_shared<LayerLine>();
    line->Location_ = {x1, y1};
    line->Location2_ = {x2, y2};
    line->Width_ = std::fabs(x1 - x2);
    line->Height_ = std::fabs(y1 - y2);
    line->Layer(layer);
    return line;
}

void LayerLine::Image(const platform::ImagePtr& image) { SetSingleImage(Images_, image); }

platform::ImagePtr LayerLine::Image() const { return FrameImage(Images_, Frame); }

float LayerLine::Width() const { return std::fabs(X() - Location2_.x); }
float LayerLine::Height() const { return std::fabs(Y() - Location2_.y); }

void LayerLine::Draw(platform::Canvas& canvas) {
    canvas.BlendMode(BlendMode);
    canvas.Color(Brightness(Color));
    if (!Images_ || Images_->empty()) {
        canvas.DrawLine(X(), Y(), Location2_.x, Location2_.y);
        return;
    }
    framework::DrawThickLine(canvas, Image(), X(), Y(), Location2_.x, Location2_.y, DrawMode - 1);
}

}  // namespace kestrum::scenegraph
