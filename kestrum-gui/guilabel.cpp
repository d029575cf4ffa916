#include "kestrum-gui/guilabel.h"

#include "kestrum-gui/guigroup.h"
#include "kestrum-gui/guilayer.h"

namespace kestrum::gui {

std::shared_ptr<GuiLabel> GuiLabel::New(const std::shared_ptr<GuiGroup>& group,
                                        const std::shared_ptr<platform::Font>& font, const std::string& text) {
    auto label = std::make_shared<GuiLabel>();
    label->Group(group);
    label->Texts.Font = font;
    label->Texts.Text = text;
    return label;
}

std::shared_ptr<GuiLabel> GuiLabel::New(GuiLayer* layer, const std::shared_ptr<platform::Font>& font,
                                        const std::string& text) {
    auto label = std::make_shared<GuiLabel>();
    label->Layer(layer);
    label->Texts.Font = font;
    label->Texts.Text = text;
    return label;
}

void GuiLabel::Draw(platform::Canvas& canvas) {
    if (Texts.Text.empty() || !Texts.Font || Frame < 0) return;
    const int state = RenderState();
    canvas.PushMatrix();
    ApplyDrawData_(canvas, *Texts.DrawData(state, Frame));
    canvas.Font(Texts.Font);
    canvas.Scale(ScaleX, ScaleY);
    canvas.DrawText(Texts.Text, 0, 0, 0, 0);
    canvas.PopMatrix();
    DrawOverlays_(canvas);
}

}  // namespace kestrum::gui
