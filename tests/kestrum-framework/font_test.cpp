#include "kestrum-framework/font.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/font.h"
#include "support/testsupport.h"

namespace fw = kestrum::framework;
using Lines = std::vector<std::string>;

namespace {

// The framework's placeholder font, loaded directly from the assets folder.
std::shared_ptr<platform::Font> TestFont(float size = 20) {
    return platform::Font::Load(testsupport::AssetsDir() + "kestrum-framework/fonts/arial.ttf", size);
}

// The bounding box of the pixels brighter than black, as (x0, y0, x1, y1); all -1 when none.
platform::Recti LitBox(const testsupport::Target& target) {
    const auto pixels = target.canvas->CopyPixmap({0, 0, target.image->Width(), target.image->Height()});
    platform::Recti box{-1, -1, -1, -1};
    bool any = false;
    for (int y = 0; y < pixels->Height(); ++y) {
        for (int x = 0; x < pixels->Width(); ++x) {
            if ((pixels->GetPixelARGB(x, y) & 0x00FFFFFF) == 0) continue;
            if (!any) box = {x, y, x + 1, y + 1};
            any = true;
            box.min = {std::min(box.min.x, x), std::min(box.min.y, y)};
            box.max = {std::max(box.max.x, x + 1), std::max(box.max.y, y + 1)};
        }
    }
    return box;
}

}  // namespace

TEST(TextMeasure, WidestLineAndLineCountTimesTruncatedHeight) {
    const auto font = TestFont();
    ASSERT_TRUE(font);
    const int lineHeight = static_cast<int>(font->Height());
    EXPECT_EQ(fw::TextWidth(font, "ab\nabcd", "\n"), static_cast<int>(font->TextWidth("abcd")));
    EXPECT_EQ(fw::TextWidth(font, "abcd|ab", "|"), static_cast<int>(font->TextWidth("abcd")));
    EXPECT_EQ(fw::TextHeight(font, "ab\nabcd", "\n"), 2 * lineHeight);
    EXPECT_EQ(fw::TextHeight(font, "a\n\n", "\n"), 3 * lineHeight);
    EXPECT_EQ(fw::TextWidth(font, "", "\n"), 0);
    EXPECT_EQ(fw::TextHeight(font, "", "\n"), lineHeight);
    EXPECT_EQ(fw::TextWidth(nullptr, "ab", "\n"), 0);
    EXPECT_EQ(fw::TextHeight(nullptr, "ab", "\n"), 0);
}

TEST(FitText, WrapsWordsAndKeepsSeparatorsAsLineBreaks) {
    const auto font = TestFont();
    ASSERT_TRUE(font);
    const int wide = 1000;
    const int oneWord = static_cast<int>(font->TextWidth("three")) + 1;
    struct Case {
        const char* text;
        int width;
        Lines lines;
    };
    const std::vector<Case> cases = {
        {"", wide, {""}},
        {"word", wide, {"word"}},
        {"one two three", wide, {"one two three"}},
        {"one\n\ntwo", wide, {"one", "", "two"}},
        {"one\n", wide, {"one", ""}},
        {"\none", wide, {"", "one"}},
        {"one two three", oneWord, {"one", "two", "three"}},
        {"one  two", wide, {"one  two"}},
        // An over-wide word stands alone, with no empty line before it.
        {"extraordinarily long", oneWord, {"extraordinarily", "long"}},
        {"a extraordinarily b", oneWord, {"a", "extraordinarily", "b"}},
        {"x\nextraordinarily", oneWord, {"x", "extraordinarily"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fw::FitText(font, c.text, c.width, "\n"), c.lines) << '"' << c.text << "\" in " << c.width;
    }
}

TEST(FitText, AWordThatWouldMakeTheLineExactlyAsWideAsTheLimitMovesOn) {
    const auto font = TestFont();
    ASSERT_TRUE(font);
    const float measured = font->TextWidth("one two");
    ASSERT_EQ(measured, std::floor(measured)) << "the test needs a whole-pixel width";
    const int width = static_cast<int>(measured);
    EXPECT_EQ(fw::FitText(font, "one two", width, "\n"), (Lines{"one", "two"}));
    EXPECT_EQ(fw::FitText(font, "one two", width + 1, "\n"), (Lines{"one two"}));
    // The space after the earlier word counts, the one after the new word does not.
    const int withSpace = static_cast<int>(font->TextWidth("one ")) + 1;
    EXPECT_EQ(fw::FitText(font, "one t", static_cast<int>(font->TextWidth("one t")) + 1, "\n"), (Lines{"one t"}));
    EXPECT_EQ(fw::FitText(font, "one t", withSpace, "\n"), (Lines{"one", "t"}));
}

TEST(FitText, WorksWithALongerSeparator) {
    const auto font = TestFont();
    ASSERT_TRUE(font);
    EXPECT_EQ(fw::FitText(font, "a<br>b c", 1000, "<br>"), (Lines{"a", "b c"}));
}

class DrawTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        font_ = TestFont(24);
        ASSERT_TRUE(font_);
        width_ = fw::TextWidth(font_, "MM\nMMMM", "\n");
        height_ = fw::TextHeight(font_, "MM\nMMMM", "\n");
    }
    testsupport::Target Draw(float x, float y, float hx, float hy, bool centre) {
        auto target = testsupport::MakeTarget(240, 160);
        target.canvas->Font(font_);
        target.canvas->Color(platform::Color::White());
        const platform::AffineMat3f before = target.canvas->Matrix();
        fw::DrawText(*target.canvas, "MM\nMMMM", x, y, hx, hy, centre, "\n");
        EXPECT_EQ(target.canvas->Matrix(), before) << "the matrix is popped";
        return target;
    }
    std::shared_ptr<platform::Font> font_;
    int width_ = 0;
    int height_ = 0;
};

TEST_F(DrawTextTest, HandlePlacesTheWholeBlock) {
    auto topLeft = Draw(200 - static_cast<float>(width_), 130 - static_cast<float>(height_), 0, 0, false);
    auto bottomRight = Draw(200, 130, 1, 1, false);
    const platform::Recti a = LitBox(topLeft), b = LitBox(bottomRight);
    ASSERT_GE(a.min.x, 0);
    EXPECT_EQ(a, b);
    // The block lies inside its measured box, the widest line reaching near its right edge.
    EXPECT_GE(b.min.x, 200 - width_);
    EXPECT_GE(b.min.y, 130 - height_);
    EXPECT_LE(b.max.x, 200);
    EXPECT_LE(b.max.y, 130);
    EXPECT_GE(b.max.x, 200 - 4);
    // Two lines: the lit rows span more than one line height.
    EXPECT_GT(b.Height(), static_cast<int>(font_->Height()));
}

TEST_F(DrawTextTest, CentreAlignsEveryLineOnTheWidestOne) {
    const float narrow = font_->TextWidth("MM");
    auto left = Draw(20, 20, 0, 0, false);
    auto centred = Draw(20, 20, 0, 0, true);
    // Only the first (narrow) line moves: find its leftmost lit pixel in the top line band.
    auto leftmostInBand = [&](testsupport::Target& target, int y0, int y1) {
        const auto pixels = target.canvas->CopyPixmap({0, 0, 240, 160});
        for (int x = 0; x < 240; ++x) {
            for (int y = y0; y < y1; ++y) {
                if (pixels->GetPixelARGB(x, y) & 0x00FFFFFF) return x;
            }
        }
        return -1;
    };
    const int line = static_cast<int>(font_->Height());
    const int plain = leftmostInBand(left, 20, 20 + line);
    const int shifted = leftmostInBand(centred, 20, 20 + line);
    ASSERT_GE(plain, 0);
    const float expected = static_cast<float>(width_ / 2) - narrow * 0.5f;
    EXPECT_NEAR(static_cast<float>(shifted - plain), expected, 1.0f);
    // The wide line stays where it was.
    EXPECT_EQ(leftmostInBand(left, 20 + line, 20 + 2 * line), leftmostInBand(centred, 20 + line, 20 + 2 * line));
}

TEST(DrawText, WithoutAFontDrawsNothing) {
    auto target = testsupport::MakeTarget(32, 32);
    fw::DrawText(*target.canvas, "text", 0, 0, 0, 0, false, "\n");
    EXPECT_EQ(LitBox(target).min.x, -1);
}
