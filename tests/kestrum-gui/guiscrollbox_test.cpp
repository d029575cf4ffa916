#include "kestrum-gui/guiscrollbox.h"

#include <gtest/gtest.h>

#include "guitest.h"
#include "kestrum-gui/guiimage.h"
#include "kestrum-gui/guilayer.h"
#include "support/testsupport.h"

namespace {

using namespace kestrum::gui;
using namespace guitest;
using testsupport::Near;

class GuiScrollBoxTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        testsupport::App();
    }
    std::shared_ptr<GuiScrollBox> MakeBox(int w, int h) {
        auto box = GuiScrollBox::New(layer.get(), w, h);
        box->Handle = {0, 0};
        box->X(10);
        box->Y(10);
        box->ClearColor = kBlue;
        return box;
    }
    std::shared_ptr<GuiImage> AddRed(const std::shared_ptr<GuiScrollBox>& box, int w, int h, float x, float y) {
        auto image = GuiImage::New(box, MakeImage(w, h, kRed));
        image->Handle = {0, 0};
        image->X(x);
        image->Y(y);
        return image;
    }
};

TEST_F(GuiScrollBoxTest, ContentIsCutOffAtTheBoxsEdges) {
    auto target = testsupport::MakeTarget(64, 64);
    auto box = MakeBox(32, 32);
    AddRed(box, 40, 10, 20, 5);
    layer->Draw(*target.canvas);
    EXPECT_TRUE(Near(target.Pixel(40, 17), kRed)) << testsupport::Describe(target.Pixel(40, 17));
    EXPECT_TRUE(Near(target.Pixel(45, 17), kBlack)) << "cut off at the box's right edge";
    EXPECT_TRUE(Near(target.Pixel(40, 35), kBlue)) << "the cleared box";
    EXPECT_TRUE(Near(target.Pixel(5, 5), kBlack));
}

TEST_F(GuiScrollBoxTest, TheContentOffsetMovesTheContent) {
    auto target = testsupport::MakeTarget(64, 64);
    auto box = MakeBox(32, 32);
    AddRed(box, 32, 4, 0, 100);
    box->ScrollY = 100;
    layer->Draw(*target.canvas);
    EXPECT_TRUE(Near(target.Pixel(20, 10), kRed)) << "top edge at the box's top edge";
    EXPECT_TRUE(Near(target.Pixel(20, 13), kRed));
    EXPECT_TRUE(Near(target.Pixel(20, 14), kBlue));
}

TEST_F(GuiScrollBoxTest, ATintedGroupTintsTheClearColour) {
    auto target = testsupport::MakeTarget(64, 64);
    auto group = GuiGroup::New(layer.get());
    group->Color = {0.5f, 0.5f, 0.5f, 1};
    auto box = GuiScrollBox::New(group, 20, 20);
    box->ClearColor = {1, 1, 1, 1};
    box->Handle = {0, 0};
    layer->Draw(*target.canvas);
    EXPECT_TRUE(Near(target.Pixel(5, 5), {0.25f, 0.25f, 0.25f, 1}, 4)) << testsupport::Describe(target.Pixel(5, 5));
}

TEST_F(GuiScrollBoxTest, TheImageIsRemadeOnlyForANewWholePixelSize) {
    auto target = testsupport::MakeTarget(64, 64);
    auto box = MakeBox(32, 32);
    box->Width(32.5f);
    layer->Draw(*target.canvas);
    const auto first = box->RenderImage;
    layer->Draw(*target.canvas);
    EXPECT_EQ(box->RenderImage, first);
    EXPECT_EQ(first->Width(), 32);
    box->Width(20);
    layer->Draw(*target.canvas);
    EXPECT_NE(box->RenderImage, first);
    EXPECT_EQ(box->RenderImage->Width(), 20);
}

TEST_F(GuiScrollBoxTest, ABoxMadeWithoutASizeGetsItsImageWhenFirstDrawn) {
    auto target = testsupport::MakeTarget(64, 64);
    auto box = std::make_shared<GuiScrollBox>();
    EXPECT_EQ(box->RenderImage, nullptr);
    box->Handle = {0, 0};
    box->Width(16);
    box->Height(8);
    box->ClearColor = kBlue;
    box->Layer(layer.get());
    layer->Draw(*target.canvas);
    ASSERT_NE(box->RenderImage, nullptr);
    EXPECT_EQ(box->RenderImage->Height(), 8);
    EXPECT_TRUE(Near(target.Pixel(4, 4), kBlue));
}

TEST_F(GuiScrollBoxTest, BoxesSmallerThanAPixelDrawNothing) {
    auto target = testsupport::MakeTarget(64, 64);
    auto box = MakeBox(0, 0);
    box->DebugBounds = true;
    EXPECT_EQ(box->RenderImage, nullptr);
    layer->Draw(*target.canvas);
    EXPECT_TRUE(Near(target.Pixel(10, 10), kBlack)) << "0 × 0: not even debug bounds";

    box->Width(30);
    box->Height(0.5f);
    layer->Draw(*target.canvas);
    EXPECT_EQ(box->RenderImage, nullptr);
    EXPECT_TRUE(Near(target.Pixel(12, 10), kBlack));
}

TEST_F(GuiScrollBoxTest, AVerticalSliderTakesItsWidthAndFollowsTheContent) {
    auto target = testsupport::MakeTarget(64, 64);
    auto box = MakeBox(338, 100);
    box->SliderGap = 4;
    box->VSlider = std::make_shared<GuiSlider>();
    box->VSlider->Width(16);
    box->VSlider->Layer(layer.get());
    box->VSlider->Knob = std::make_shared<GuiSliderKnob>();
    auto tall = AddRed(box, 10, 300, 0, 0);
    layer->Update();
    layer->Draw(*target.canvas);
    EXPECT_EQ(box->RenderImage->Width(), 318);
    EXPECT_EQ(box->VSlider->X(), 10 + 318 + 4);
    EXPECT_EQ(box->VSlider->Y(), 10);
    EXPECT_EQ(box->VSlider->Knob->Maximum, 200);
    box->VSlider->Knob->Position = 50;  // half of its travel of 100
    layer->Update();
    EXPECT_EQ(box->ScrollY, 100);

    tall->Height(50);
    layer->Update();
    EXPECT_FALSE(box->VSlider->Enabled());
    layer->Draw(*target.canvas);
    EXPECT_EQ(box->RenderImage->Width(), 338) << "the image grows back to the full width";
}

}  // namespace
