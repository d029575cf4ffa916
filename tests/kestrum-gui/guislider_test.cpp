#include "kestrum-gui/guislider.h"

#include <gtest/gtest.h>

#include <cmath>

#include "guitest.h"
#include "kestrum-gui/guilayer.h"

namespace {

using namespace kestrum::gui;
using guitest::GuiTest;

class GuiSliderTest : public GuiTest {
protected:
    std::shared_ptr<GuiSliderKnob> MakeKnob(float x, float y) {
        auto knob = std::make_shared<GuiSliderKnob>();
        knob->Images.Width(10);
        knob->Images.Height(10);
        knob->X(x);
        knob->Y(y);
        return knob;
    }
    std::shared_ptr<GuiButton> MakeButton(const std::shared_ptr<GuiGroup>& group, float x, float y) {
        auto button = std::make_shared<GuiButton>();
        button->Images.Width(20);
        button->Images.Height(20);
        button->X(x);
        button->Y(y);
        button->Group(group);
        return button;
    }
};

TEST_F(GuiSliderTest, ValueAndRounding) {
    GuiSliderKnob knob;
    EXPECT_TRUE(knob.DownOutside);
    knob.Position = 50;
    EXPECT_EQ(knob.Value(), 500);
    knob.Position = 0.05f;
    EXPECT_EQ(knob.RoundedValue(), 1);
    knob.Value(2000);
    EXPECT_EQ(knob.Position, 200);
    knob.Maximum = 450;  // not a whole multiple of the travel
    knob.Position = 100;
    EXPECT_FLOAT_EQ(knob.Value(), 450);
}

TEST_F(GuiSliderTest, ADraggedKnobFollowsWindowPixelsAndStopsAtItsEnds) {
    layer->SetVirtualWidth(568);  // two window pixels per unit
    auto knob = MakeKnob(100, 100);
    knob->Layer(layer.get());
    Frame(200, 200);
    Frame(200, 200, true);
    ASSERT_TRUE(knob->Down);
    Frame(230, 200, true);
    EXPECT_EQ(knob->Position, 30) << "window pixels, not layer units";
    Frame(230, 200, true);
    EXPECT_EQ(knob->Position, 30);
    Frame(600, 900, true);  // far off the knob: still down
    EXPECT_EQ(knob->Position, 100);
    Frame(0, 200, true);
    EXPECT_EQ(knob->Position, 0);
    Frame(0, 200, false);

    knob->Orientation = 0;
    knob->Position = 10;
    Frame(205, 200);
    Frame(205, 200, true);
    Frame(250, 200, true);
    EXPECT_EQ(knob->Position, 10) << "orientation 0 follows no axis";
    EXPECT_EQ(layer->Current, knob) << "but is still hit-tested at its place";
}

TEST_F(GuiSliderTest, AHeldStepButtonChangesTheValueOncePerFrame) {
    auto slider = std::make_shared<GuiSlider>();
    slider->Layer(layer.get());
    slider->Knob = MakeKnob(0, 0);
    slider->Knob->Group(slider);
    slider->Buttons[0] = MakeButton(slider, 300, 100);
    slider->Buttons[1] = MakeButton(slider, 400, 100);
    slider->Knob->Value(990);
    Frame(400, 100);
    for (int i = 0; i < 8; ++i) Frame(400, 100, true);
    EXPECT_NEAR(slider->Knob->Value(), 998, 0.01);
    for (int i = 0; i < 8; ++i) Frame(400, 100, true);
    EXPECT_NEAR(slider->Knob->Value(), 1000, 0.01) << "stops at the maximum";
    Frame(400, 100, false);
    Frame(300, 100);
    for (int i = 0; i < 3; ++i) Frame(300, 100, true);
    EXPECT_NEAR(slider->Knob->Value(), 997, 0.01);

    slider->Knob->Value(2000);
    Frame(0, 500);
    EXPECT_EQ(slider->Knob->Position, 100) << "the slider clamps at once";
}

TEST_F(GuiSliderTest, ZeroSizesAndAMissingKnobDoNothing) {
    auto slider = std::make_shared<GuiSlider>();
    slider->Layer(layer.get());
    Frame(0, 0);  // no knob

    slider->Knob = MakeKnob(0, 0);
    slider->Knob->Group(slider);
    slider->Knob->Maximum = 0;
    slider->Knob->Position = 5;
    slider->Knob->Value(3);
    Frame(0, 0);
    EXPECT_EQ(slider->Knob->Position, 5);
    EXPECT_EQ(slider->Knob->Value(), 0);

    slider->Knob->Maximum = 100;
    slider->Knob->Length = 0;
    EXPECT_EQ(slider->Knob->Value(), 0);
    Frame(0, 0);
    EXPECT_FALSE(std::isnan(slider->Knob->Position));
}

}  // namespace
