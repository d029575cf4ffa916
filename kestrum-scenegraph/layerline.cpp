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
    line->__Location = {x1, y1};
    line->__Location2 = {x2, y2};
    line->__Width = std::fabs(x1 - x2);
    line->__Height = std::fabs(y1 - y2);
    line->Layer(layer);
    return line;
}

void LayerLine::Image(const platform::ImagePtr& image) { SetSingleImage(__Images, image); }

platform::ImagePtr LayerLine::Image() const { return FrameImage(__Images, Frame); }

float LayerLine::Width() const { return std::fabs(X() - __Location2.x); }
float LayerLine::Height() const { return std::fabs(Y() - __Location2.y); }

void LayerLine::Draw(platform::Canvas& canvas) {
    canvas.BlendMode(BlendMode);
    canvas.Color(Brightness(Color));
    if (!__Images || __Images->empty()) {
        canvas.DrawLine(X(), Y(), __Location2.x, __Location2.y);
        return;
    }
    framework::DrawThickLine(canvas, Image(), X(), Y(), __Location2.x, __Location2.y, DrawMode - 1);
}

}  // namespace kestrum::scenegraph
