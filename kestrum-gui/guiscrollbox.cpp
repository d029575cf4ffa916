#include "kestrum-gui/guiscrollbox.h"

#include "kestrum-framework/gfx.h"
#include "kestrum-gui/guilayer.h"

namespace kestrum::gui {

GuiScrollBox::GuiScrollBox(int width, int height) {
    InitFields();
    Width(static_cast<float>(width));
    Height(static_cast<float>(height));
    UpdateCanvas_(width, height);
}

std::shared_ptr<GuiScrollBox> GuiScrollBox::New(const std::shared_ptr<GuiGroup>& group, int width, int height) {
    auto box = std::make_shared<GuiScrollBox>(width, height);
    box->Group(group);
    return box;
}

std::shared_ptr<GuiScrollBox> GuiScrollBox::New(GuiLayer* layer, int width, int height) {
    auto box = std::make_shared<GuiScrollBox>(width, height);
    box->Layer(layer);
    return box;
}

void GuiScrollBox::UpdateCanvas_(int width, int height) {
    RenderCanvas.reset();
    if (RenderImage) RenderImage->Discard();
    RenderImage.reset();
    if (width < 1 || height < 1) return;
    // Filtered but not mipmapped: the image is redrawn every frame, and stale
    // mipmap levels would show old content when it is drawn scaled down.
    RenderImage = std::make_shared<platform::Image>(width, height, platform::TextureFlags::Filter);
    RenderCanvas = std::make_unique<platform::Canvas>(RenderImage);
}

void GuiScrollBox::UpdateSliders_() {
    const int imageWidth = RenderImage ? RenderImage->Width() : 0;
    const int imageHeight = RenderImage ? RenderImage->Height() : 0;
    if (HSlider) {
        const int m = static_cast<int>(GetContentWidth() - static_cast<float>(imageWidth));
        if (HSlider->Knob) {
            HSlider->Knob->Maximum = m;
            if (HSlider->Knob->Length != 0) {
                ScrollX = static_cast<float>(m) / static_cast<float>(HSlider->Knob->Length) * HSlider->Knob->Position;
            }
        }
        HSlider->Enabled(static_cast<float>(imageWidth) < GetContentWidth());
        if (SliderGap > 0) {
            HSlider->X(X());
            HSlider->Y(Y() + static_cast<float>(imageHeight + SliderGap));
        }
    }
    if (VSlider) {
        const int m = static_cast<int>(GetContentHeight() - static_cast<float>(imageHeight));
        if (VSlider->Knob) {
            VSlider->Knob->Maximum = m;
            if (VSlider->Knob->Length != 0) {
                ScrollY = static_cast<float>(m) / static_cast<float>(VSlider->Knob->Length) * VSlider->Knob->Position;
            }
        }
        VSlider->Enabled(static_cast<float>(imageHeight) < GetContentHeight());
        if (SliderGap > 0) {
            VSlider->X(X() + static_cast<float>(imageWidth + SliderGap));
            VSlider->Y(Y());
        }
    }
}

void GuiScrollBox::Discard() {
    if (RenderImage) RenderImage->Discard();
}

void GuiScrollBox::Update_() {
    UpdateSliders_();
    UpdateMembers_();
}

void GuiScrollBox::Draw(platform::Canvas& canvas) {
    float width = Width_;
    float height = Height_;
    if (width == 0 || height == 0) return;
    if (VSlider && VSlider->Enabled()) width -= VSlider->Width() + static_cast<float>(SliderGap);
    if (HSlider && HSlider->Enabled()) height -= HSlider->Height() + static_cast<float>(SliderGap);
    // Whole pixels are compared, so a fractional size does not remake the image on every draw.
    const int imageWidth = static_cast<int>(width);
    const int imageHeight = static_cast<int>(height);
    if (imageWidth < 1 || imageHeight < 1) {
        if (RenderImage) UpdateCanvas_(0, 0);
        return;
    }
    if (!RenderImage || RenderImage->Width() != imageWidth || RenderImage->Height() != imageHeight) {
        UpdateCanvas_(imageWidth, imageHeight);
        UpdateSliders_();
    }

    platform::Canvas& target = *RenderCanvas;
    target.PushMatrix();
    target.Clear(Brightness(ClearColor));
    target.Translate(-ScrollX, -ScrollY);
    DrawMembers_(target);
    target.PopMatrix();
    target.Flush();

    canvas.Color(Brightness(Color));
    canvas.BlendMode(BlendMode);
    framework::DrawImageEx(canvas, RenderImage, X(), Y(), -Rotation, ScaleX, ScaleY, Handle.x, Handle.y);
    DrawOverlays_(canvas);
}

}  // namespace kestrum::gui
