// Image widgets, buttons, check boxes and labels.
#include "kestrum-gui/guiimage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "guitest.h"
#include "kestrum-framework/debugtools.h"
#include "kestrum-gui/guilabel.h"
#include "kestrum-gui/guilayer.h"
#include "platform/font.h"
#include "support/testsupport.h"

namespace {

using namespace kestrum::gui;
using namespace guitest;
using testsupport::Near;

class GuiImageTest : public GuiTest {};

TEST_F(GuiImageTest, SizeIsTheWidestImageOfTheWholeSet) {
    GuiImage widget;
    EXPECT_EQ(widget.Width(), 0);
    widget.Images.DrawData(0, 0)->Image = MakeImage(32, 10);
    widget.Images.DrawData(2, 1)->Image = MakeImage(48, 5);
    EXPECT_EQ(widget.Width(), 48);
    EXPECT_EQ(widget.Height(), 10);
    widget.Width(20);
    EXPECT_EQ(widget.Width(), 20);
    widget.Width(0);
    EXPECT_EQ(widget.Width(), 48);
}

TEST_F(GuiImageTest, ACheckboxStepsThroughTheRowsOfItsSet) {
    auto box = std::make_shared<GuiCheckbox>();
    box->X(100);
    box->Y(100);
    for (int row = 0; row < 3; ++row) box->Images.DrawData(0, row)->Image = MakeImage(20, 20);
    box->Layer(layer.get());
    std::vector<int> frames;
    for (int click = 0; click < 4; ++click) {
        Frame(100, 100, true);
        Frame(100, 100, false);
        frames.push_back(box->Frame);
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 0, 1}));

    GuiCheckbox empty;
    GuiObjectTestAccess::OnReleased_(empty);
    EXPECT_EQ(empty.Frame, 0);
}

TEST_F(GuiImageTest, LabelsMeasureTheirText) {
    auto font = kestrum::framework::NullFont(nullptr);
    ASSERT_TRUE(font);
    GuiLabel label;
    label.Font(font);
    label.Text("abc");
    EXPECT_EQ(label.Width(), font->TextWidth("abc"));
    label.Text("abcdef");
    EXPECT_EQ(label.Width(), font->TextWidth("abcdef"));
    label.Width(7);
    EXPECT_EQ(label.Width(), 7);
    label.Width(0);
    EXPECT_EQ(label.Width(), font->TextWidth("abcdef"));
    EXPECT_EQ(label.Height(), font->Height());
    label.Font(nullptr);
    EXPECT_EQ(label.Width(), 0);
    EXPECT_EQ(label.Height(), 0);
}

class GuiImageDrawTest : public GuiImageTest {
protected:
    void SetUp() override {
        GuiImageTest::SetUp();
        testsupport::App();
    }
};

TEST_F(GuiImageDrawTest, AStateWithoutItsOwnImageShowsTheNormalImageWithItsOwnRecord) {
    auto target = testsupport::MakeTarget(64, 64);
    auto widget = GuiImage::New(layer.get(), MakeImage(16, 16));
    widget->X(32);
    widget->Y(32);
    widget->Images.DrawData(GuiState::Down, 0)->Color = kRed;
    widget->Images.DrawData(GuiState::Down, 0)->OffsetX(10);
    widget->Down = true;
    layer->Draw(*target.canvas);
    EXPECT_TRUE(Near(target.Pixel(40, 32), kRed)) << testsupport::Describe(target.Pixel(40, 32));
    EXPECT_TRUE(Near(target.Pixel(26, 32), kBlack)) << "moved by the down record's offset";
}

TEST_F(GuiImageDrawTest, AnEmptyImageWidgetDrawsOnlyItsDebugBounds) {
    auto target = testsupport::MakeTarget(64, 64);
    auto widget = std::make_shared<GuiImage>();
    widget->X(32);
    widget->Y(32);
    widget->Images.Width(20);
    widget->Images.Height(20);
    widget->Layer(layer.get());
    layer->Draw(*target.canvas);
    EXPECT_TRUE(Near(target.Pixel(32, 32), kBlack));
    widget->DebugBounds = true;
    layer->Draw(*target.canvas);
    EXPECT_FALSE(Near(target.Pixel(32, 32), kBlack));
    EXPECT_TRUE(Near(target.Pixel(50, 50), kBlack));
}

TEST_F(GuiImageDrawTest, ANinePatchButtonKeepsItsBordersAtTwoSizes) {
    // An 8 × 8 skin: a red frame 2 pixels wide around a green centre.
    auto pixmap = std::make_shared<platform::Pixmap>(8, 8);
    pixmap->Clear(kRed);
    for (int y = 2; y < 6; ++y) {
        for (int x = 2; x < 6; ++x) pixmap->SetPixel(x, y, kGreen);
    }
    auto skin = std::make_shared<platform::Image>(pixmap, platform::TextureFlags::ClampS | platform::TextureFlags::ClampT);
    struct Size {
        int w, h;
    } sizes[] = {{40, 20}, {20, 50}};
    for (const Size& size : sizes) {
        auto target = testsupport::MakeTarget(64, 64);
        auto button = std::make_shared<GuiButton>();
        button->Images.DrawData(0, 0)->Image = skin;
        button->Images.Borders = {2};
        button->Width(static_cast<float>(size.w));
        button->Height(static_cast<float>(size.h));
        button->Handle = {0, 0};
        button->X(4);
        button->Y(4);
        button->Caption.Font = nullptr;
        button->Layer(layer.get());
        layer->Draw(*target.canvas);
        const int right = 4 + size.w - 1;
        const int bottom = 4 + size.h - 1;
        EXPECT_TRUE(Near(target.Pixel(4, 4), kRed, 8)) << size.w;
        EXPECT_TRUE(Near(target.Pixel(right, bottom), kRed, 8)) << size.w;
        EXPECT_TRUE(Near(target.Pixel(4 + size.w / 2, 4), kRed, 8)) << "top edge " << size.w;
        EXPECT_TRUE(Near(target.Pixel(4, 4 + size.h / 2), kRed, 8)) << "left edge " << size.w;
        EXPECT_TRUE(Near(target.Pixel(4 + size.w / 2, 4 + size.h / 2), kGreen, 8))
            << "stretched centre " << testsupport::Describe(target.Pixel(4 + size.w / 2, 4 + size.h / 2));
        EXPECT_TRUE(Near(target.Pixel(7, 7), kGreen, 8)) << "the border stays 2 pixels wide";
        EXPECT_TRUE(Near(target.Pixel(right + 2, bottom + 2), kBlack)) << "nothing beyond the size";
        button->Remove();
    }
}

// Where captions and labels land. The text "?" in the tiny bitmap font of the
// test data is a box 5 wide and 8 high (its advance and the line height) with
// a solid 4 × 4 glyph at (1, 2) inside it, so the glyph's pixels show where
// the text box was put and how it was scaled.
TEST_F(GuiImageDrawTest, CaptionsAndLabelsSitWhereTheirHandleAndScalePutThem) {
    const char* data = std::getenv("ZANDROVIA_TEST_DATA");
    ASSERT_NE(data, nullptr);
    const auto font = platform::Font::Load(std::string(data) + "/tiny-1bpp.bdf", 8);
    ASSERT_TRUE(font);
    ASSERT_EQ(font->TextWidth("?"), 5);
    ASSERT_EQ(font->Height(), 8);
    struct Case {
        const char* name;
        bool button;
        float width, height;  // the button's size (a label measures its text)
        platform::Vec2f handle;
        float scale;
        float x, y;
        bool centred;
        platform::Vec2f offset;  // the caption's offset
        platform::Recti glyph;   // where the glyph's pixels must be
    };
    const Case cases[] = {
        {"caption centred on a centred button", true, 41, 20, {0.5f, 0.5f}, 1, 50.5f, 30, true, {}, {49, 28, 53, 32}},
        {"caption of a button scaled by 2", true, 40, 20, {0.5f, 0.5f}, 2, 50, 30, true, {}, {47, 26, 55, 34}},
        {"caption centred on a top-left button", true, 41, 20, {0, 0}, 1, 10, 10, true, {}, {29, 18, 33, 22}},
        {"caption at its offset", true, 40, 20, {0, 0}, 1, 10, 10, false, {3, 4}, {14, 16, 18, 20}},
        {"label centred on its point", false, 0, 0, {0.5f, 0.5f}, 1, 50.5f, 30, false, {}, {49, 28, 53, 32}},
        {"label scaled by 2", false, 0, 0, {0.5f, 0.5f}, 2, 50, 30, false, {}, {47, 26, 55, 34}},
        {"label by its top-left corner", false, 0, 0, {0, 0}, 1, 10, 10, false, {}, {11, 12, 15, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto target = testsupport::MakeTarget(80, 60);
        std::shared_ptr<GuiObject> widget;
        if (c.button) {
            auto button = std::make_shared<GuiButton>();
            button->Images.Width(c.width);
            button->Images.Height(c.height);
            button->Font(font);
            button->Text("?");
            button->CentreCaption = c.centred;
            button->Caption.Offset = c.offset;
            widget = button;
        } else {
            widget = GuiLabel::New(layer.get(), font, "?");
        }
        widget->Handle = c.handle;
        widget->ScaleX = widget->ScaleY = c.scale;
        widget->X(c.x);
        widget->Y(c.y);
        widget->Layer(layer.get());
        layer->Draw(*target.canvas);
        const auto pixels = target.canvas->CopyPixmap({0, 0, 80, 60});
        platform::Recti lit{80, 60, 0, 0};
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 80; ++x) {
                if ((pixels->GetPixelARGB(x, y) & 0xFF) < 128) continue;
                lit.min = {std::min(lit.min.x, x), std::min(lit.min.y, y)};
                lit.max = {std::max(lit.max.x, x + 1), std::max(lit.max.y, y + 1)};
            }
        }
        EXPECT_EQ(lit, c.glyph);
        widget->Remove();
    }
}

TEST_F(GuiImageDrawTest, LabelsWithoutTextOrFontDrawNothingAtAll) {
    auto target = testsupport::MakeTarget(64, 64);
    auto label = GuiLabel::New(layer.get(), nullptr, "text");
    label->DebugBounds = true;
    label->Width(20);
    label->Height(20);
    label->X(32);
    label->Y(32);
    layer->Draw(*target.canvas);
    EXPECT_TRUE(Near(target.Pixel(32, 32), kBlack)) << "no font: not even debug bounds";
    label->Font(kestrum::framework::NullFont(nullptr));
    label->Text("");
    layer->Draw(*target.canvas);
    EXPECT_TRUE(Near(target.Pixel(32, 32), kBlack)) << "no text";
    label->Text("text");
    layer->Draw(*target.canvas);
    EXPECT_FALSE(Near(target.Pixel(32, 32), kBlack));
}

}  // namespace
