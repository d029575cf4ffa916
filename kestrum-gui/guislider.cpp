#include "kestrum-gui/guislider.h"

#include "kestrum-framework/gfx.h"
#include "kestrum-framework/math.h"

namespace kestrum::gui {

void GuiSliderKnob::Value(float value) {
    if (Maximum == 0) return;
    Position = static_cast<float>(Length) * (value / static_cast<float>(Maximum));
}

float GuiSliderKnob::Value() const {
    if (Length == 0) return 0;
    return static_cast<float>(Maximum) / static_cast<float>(Length) * Position;
}

int GuiSliderKnob::RoundedValue() const { return framework::Round(Value()); }

void GuiSliderKnob::Update_() {
    if (!Layer()) return;
    const platform::Vec2i mouse = WindowMouse_();
    if (Orientation == 1 || Orientation == 2) {
        const float c = static_cast<float>(Orientation == 1 ? mouse.x : mouse.y);
        PointerDelta = c - LastPointer;
        LastPointer = c;
        if (Down) Position += PointerDelta;
    }
    if (Down) {
        if (Position < 0) Position = 0;
        if (Position > static_cast<float>(Length)) Position = static_cast<float>(Length);
    }
}

bool GuiSliderKnob::PointInside(platform::Vec2f point) {
    if (Orientation == 1) point.x -= Position;
    if (Orientation == 2) point.y -= Position;
    return GuiObject::PointInside(point);
}

void GuiSliderKnob::Draw(platform::Canvas& canvas) {
    if (Frame >= 0) {
        const int state = RenderState();
        std::shared_ptr<platform::Image> image = Images.DrawData(0, 0)->Image;
        const auto stateRecord = Images.DrawData(state, 0);
        if (stateRecord->Image) image = stateRecord->Image;
        if (image && (Orientation == 1 || Orientation == 2)) {
            canvas.PushMatrix();
            ApplyDrawData_(canvas, *Images.DrawData(state, Frame));
            const float scale = Orientation == 1 ? stateRecord->ScaleX() : stateRecord->ScaleY();
            const float along = scale != 0 ? Position / scale : Position;
            framework::Draw9Patch(canvas, image, Images.Borders, Orientation == 1 ? along : 0,
                                  Orientation == 2 ? along : 0, Width(), Height(), 0, ScaleX, ScaleY, 0, 0);
            canvas.PopMatrix();
        }
    }
    DrawOverlays_(canvas);
}

void GuiSlider::Update_() {
    UpdateMembers_();
    if (!Knob || Knob->Maximum == 0 || Knob->Length == 0) return;
    GuiSliderKnob& knob = *Knob;
    const float maximum = static_cast<float>(knob.Maximum);
    const float length = static_cast<float>(knob.Length);
    const float r = maximum / length;
    if (Buttons[0] && Buttons[0]->Down) knob.Position = ((knob.Position * r - 1) / maximum) * length;
    if (Buttons[1] && Buttons[1]->Down) knob.Position = ((knob.Position * r + 1) / maximum) * length;
    if (knob.Position * r < 0) knob.Position = 0;
    if (knob.Position * r > maximum) knob.Position = length;
}

}  // namespace kestrum::gui
