#include "kestrum-gui/guiimage.h"

#include "kestrum-framework/gfx.h"
#include "kestrum-gui/guigroup.h"
#include "kestrum-gui/guilayer.h"

namespace kestrum::gui {

std::shared_ptr<GuiImage> GuiImage::New(const std::shared_ptr<GuiGroup>& group,
                                        const std::shared_ptr<platform::Image>& image) {
    auto widget = std::make_shared<GuiImage>();
    widget->Group(group);
    widget->Images.DrawData(0, 0)->Image = image;
    return widget;
}

std::shared_ptr<GuiImage> GuiImage::New(GuiLayer* layer, const std::shared_ptr<platform::Image>& image) {
    auto widget = std::make_shared<GuiImage>();
    widget->Layer(layer);
    widget->Images.DrawData(0, 0)->Image = image;
    return widget;
}

bool GuiImage::DrawImage_(platform::Canvas& canvas) {
    if (Frame < 0) return false;
    const int state = RenderState();
    std::shared_ptr<platform::Image> image = Images.DrawData(0, Frame)->Image;
    if (auto own = Images.DrawData(state, Frame)->Image) image = own;
    if (!image) return false;
    canvas.PushMatrix();
    ApplyDrawData_(canvas, *Images.DrawData(state, Frame));
    framework::Draw9Patch(canvas, image, Images.Borders, 0, 0, Width(), Height(), 0, ScaleX, ScaleY, 0, 0);
    canvas.PopMatrix();
    return true;
}

void GuiImage::Draw(platform::Canvas& canvas) {
    DrawImage_(canvas);
    DrawOverlays_(canvas);
}

void GuiButton::InitFields() {
    Caption = framework::TextSet();
    CentreCaption = true;
}

void GuiButton::Draw(platform::Canvas& canvas) {
    GuiImage::Draw(canvas);
    if ((Caption.Text.empty() && !Caption.Font) || Frame < 0) return;
    const int state = RenderState();
    float tx = Caption.OffsetX();
    float ty = Caption.OffsetY();
    if (CentreCaption) {
        tx += Width() * 0.5f - Caption.Width() * 0.5f;
        ty += Height() * 0.5f - Caption.Height() * 0.5f;
    }
    canvas.PushMatrix();
    ApplyDrawData_(canvas, *Caption.DrawData(state, Frame));
    canvas.Font(Caption.Font);
    canvas.Scale(ScaleX, ScaleY);
    canvas.DrawText(Caption.Text, tx, ty, 0, 0);
    canvas.PopMatrix();
}

void GuiCheckbox::OnReleased_() {
    ++Frame;
    if (Frame >= Images.Frames()) Frame = 0;
}

}  // namespace kestrum::gui
