#include "kestrum-framework/bitmapfont.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/testsupport.h"

using kestrum::framework::BitmapFont;

namespace {

std::shared_ptr<platform::Image> Solid(int width, int height, platform::Color color) {
    auto pixmap = std::make_shared<platform::Pixmap>(width, height);
    pixmap->Clear(color);
    return std::make_shared<platform::Image>(pixmap);
}

const platform::Color kRed{1, 0, 0, 1};
const platform::Color kGreen{0, 1, 0, 1};
const platform::Color kBlack{0, 0, 0, 1};

}  // namespace

TEST(BitmapFontTest, MeasuresWithSpacingAndScale) {
    BitmapFont font;
    font.Spacing = 1;
    font.SetChar(Solid(4, 6, kRed), 'A');
    font.SetChar(Solid(2, 9, kGreen), 'B');
    EXPECT_EQ(font.CharWidth('A'), 4);
    EXPECT_EQ(font.Height, 9);
    EXPECT_FLOAT_EQ(font.TextWidth("AB"), 8);         // the spacing after the last character counts
    EXPECT_FLOAT_EQ(font.TextWidth("AB", 2), 16);
    EXPECT_FLOAT_EQ(font.TextWidth("A?"), 6);         // a character without an image advances by the spacing
    EXPECT_FLOAT_EQ(font.TextWidth(""), 0);
    EXPECT_FLOAT_EQ(font.TextHeight("anything", 2), 18);

    // Height only grows.
    font.SetChar(Solid(3, 2, kRed), 'B');
    EXPECT_EQ(font.Height, 9);
    EXPECT_EQ(font.CharWidth('B'), 3);

    // Characters beyond the table measure nothing, not even the spacing, and
    // codes outside the table are never stored.
    EXPECT_FLOAT_EQ(font.TextWidth("A\xE2\x82\xAC"), 5);  // "A€"
    font.SetChar(Solid(5, 5, kRed), 300);
    font.SetChar(Solid(5, 5, kRed), -1);
    EXPECT_EQ(font.CharImage(300), nullptr);
    EXPECT_EQ(font.CharWidth(-1), 0);
    EXPECT_EQ(font.CharOffsetX(256), 0);

    // A spacing near the ends of the Int range measures without wrapping around.
    font.Spacing = 2147483647;
    EXPECT_FLOAT_EQ(font.TextWidth("AA"), 2.0f * (2147483647.0f + 4));
    font.Spacing = -2147483647 - 1;
    EXPECT_FLOAT_EQ(font.TextWidth("AB", 0.5f), -2147483648.0f + 3.5f);
}

TEST(BitmapFontTest, LoadsCharacterImagesAndLeavesFailuresEmpty) {
    const std::string dir = testsupport::TempDir();
    auto pixmap = std::make_shared<platform::Pixmap>(7, 11);
    pixmap->Clear(kRed);
    ASSERT_TRUE(pixmap->Save(dir + "a.png"));

    BitmapFont font;
    EXPECT_TRUE(font.LoadChar(dir + "a.png", 'a'));
    EXPECT_EQ(font.CharWidth('a'), 7);
    EXPECT_EQ(font.Height, 11);

    font.SetChar(Solid(3, 3, kRed), 'b');
    testing::internal::CaptureStdout();
    EXPECT_FALSE(font.LoadChar(dir + "missing.png", 'b'));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Image not found: "), std::string::npos);
    EXPECT_EQ(font.CharImage('b'), nullptr);
    EXPECT_EQ(font.CharWidth('b'), 0);
    EXPECT_FALSE(font.LoadChar(dir + "a.png", 256));
}

TEST(BitmapFontTest, DrawsEachCharacterAtItsPenPosition) {
    testsupport::App();
    BitmapFont font;
    font.Spacing = 1;
    font.SetChar(Solid(4, 6, kRed), 'A');
    font.SetChar(Solid(2, 6, kGreen), 'B');
    font.OffsetsY['B'] = 1;

    // Scale 2 doubles the advance, the offsets and the images.
    auto target = testsupport::MakeTarget(64, 48);
    font.Draw(*target.canvas, "A B", 10, 10, 2, 2, 0, 0);
    struct Probe {
        int x, y;
        platform::Color color;
    };
    const Probe scaled[] = {
        {10, 10, kRed}, {17, 21, kRed}, {18, 12, kBlack},  // A: 8 × 12, then the spacing
        {20, 12, kBlack},                                  // the blank: no image, advance 2 × 1
        {22, 12, kGreen}, {25, 23, kGreen},                // B: 2 units on, offset down by 2
        {22, 11, kBlack}, {26, 14, kBlack},
        {9, 10, kBlack},
    };
    for (const auto& p : scaled) {
        EXPECT_TRUE(testsupport::Near(target.Pixel(p.x, p.y), p.color))
            << "(" << p.x << ", " << p.y << ") " << testsupport::Describe(target.Pixel(p.x, p.y));
    }

    // Handle (1, 1): the bottom-right corner, last spacing included, lands on (x, y).
    auto aligned = testsupport::MakeTarget(64, 48);
    font.OffsetsY['B'] = 0;
    font.Draw(*aligned.canvas, "AB", platform::Vec2f(40, 20), platform::Vec2f(1, 1), platform::Vec2f(1, 1));
    const Probe corner[] = {
        {32, 14, kRed}, {35, 19, kRed}, {36, 19, kBlack},
        {37, 19, kGreen}, {38, 19, kGreen}, {39, 19, kBlack},
        {38, 20, kBlack}, {32, 13, kBlack},
    };
    for (const auto& p : corner) {
        EXPECT_TRUE(testsupport::Near(aligned.Pixel(p.x, p.y), p.color))
            << "(" << p.x << ", " << p.y << ") " << testsupport::Describe(aligned.Pixel(p.x, p.y));
    }
}
