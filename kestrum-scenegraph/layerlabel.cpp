#include "kestrum-scenegraph/layerlabel.h"

#include "kestrum-framework/axissign.h"
#include "kestrum-framework/contentmanager.h"

namespace kestrum::scenegraph {

LayerLabel::LayerLabel() : Font(framework::NullFont(nullptr)) {}

std::shared_ptr<LayerLabel> LayerLabel::New(scenegraph::Layer* layer, platform::FontPtr font, std::string text) {
    auto label = std::make_shared<LayerLabel>();
    label->Layer(layer);
    label->Font = std::move(font);
    label->Text = std::move(text);
    return label;
}

float LayerLabel::Width() const {
    if (!Font || Text.empty()) return 0;
    return Font->TextWidth(Text);
}

float LayerLabel::Height() const {
    if (!Font || Text.empty()) return 0;
    return Font->Height();
}

void LayerLabel::Draw(platform::Canvas& canvas) {
    if (!Font || Text.empty()) return;
    canvas.PushMatrix();
    canvas.BlendMode(BlendMode);
    canvas.Color(Brightness(Color));
    canvas.Font(Font);
    canvas.Translate(X(), Y());
    // Rotation before scale, unlike a group.
    canvas.Rotate(framework::RotationSign * Rotation);
    canvas.Scale(Scale.x, Scale.y);
    canvas.Translate(-Width() * Handle.x, -Height() * Handle.y);
    canvas.DrawText(Text, 0, 0, 0, 0);
    canvas.PopMatrix();
}

}  // namespace kestrum::scenegraph
