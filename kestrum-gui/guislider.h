// Slider and knob.
//
// GuiSliderKnob is a draggable knob with a position in pixels along its
// travel (Length) that maps to a value from 0 to Maximum. It follows the
// pointer in window pixels while pressed and stays pressed when the pointer
// leaves it. GuiSlider is the group holding the knob and two step buttons
// that lower and raise the value by 1 per frame while held. A knob or slider
// whose Maximum or Length is 0, or a slider without a knob, does nothing.
#pragma once

#include <array>
#include <memory>

#include "kestrum-framework/drawdata.h"
#include "kestrum-gui/guigroup.h"
#include "kestrum-gui/guiimage.h"

namespace kestrum::gui {

class GuiSliderKnob : public GuiObject {
public:
    GuiSliderKnob() { DownOutside = true; }

    // The knob's travel in pixels.
    int Length = 100;
    // The value at the end of the travel.
    int Maximum = 1000;
    // The pointer's coordinate along the axis at the last update, and its last move.
    float LastPointer = 0;
    float PointerDelta = 0;
    framework::ImageSet Images;
    // 1 along x, 2 along y, anything else: follows no axis.
    int Orientation = 1;
    // The knob's offset along its axis, from 0 to Length.
    float Position = 0;

    void Value(float value);
    float Value() const;
    // The value rounded, halves away from zero.
    int RoundedValue() const;

    void Width(float value) override { Images.Width(value); }
    float Width() const override { return Images.Width(); }
    void Height(float value) override { Images.Height(value); }
    float Height() const override { return Images.Height(); }
    using GuiObject::PointInside;
    // The hit area travels with the drawn knob.
    bool PointInside(platform::Vec2f point) override;
    void Draw(platform::Canvas& canvas) override;

protected:
    void Update_() override;
};

class GuiSlider : public GuiGroup {
public:
    GuiSlider() { InitFields(); }

    // Element 0 lowers the value, element 1 raises it, while held.
    std::array<std::shared_ptr<GuiButton>, 2> Buttons;
    std::shared_ptr<GuiSliderKnob> Knob;

    void InitFields() { Buttons = {nullptr, nullptr}; }

protected:
    void Update_() override;
};

}  // namespace kestrum::gui
