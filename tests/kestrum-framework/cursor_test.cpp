#include "kestrum-framework/cursor.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/clock.h"
#include "platform/font.h"
#include "platform/input.h"
#include "support/testsupport.h"

namespace {

using kestrum::framework::Cursor;
using platform::KeyEvent;
namespace Key = platform::Key;

const char* kMonoFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

KeyEvent Down(int key, int modifiers = 0) { return {KeyEvent::KeyDown, key, modifiers, ""}; }
KeyEvent Repeat(int key, int modifiers = 0) { return {KeyEvent::KeyRepeat, key, modifiers, ""}; }
KeyEvent Char(const std::string& text) {
    return {KeyEvent::KeyChar, text.empty() ? 0 : static_cast<unsigned char>(text[0]), 0, text};
}

TEST(Cursor, TypingInsertsAtTheCaretAndOnlyPrintableCodes) {
    Cursor cursor;
    cursor.Position(2);
    EXPECT_EQ(cursor.HandleText(Char("a"), "xyz"), "xyaz");
    EXPECT_EQ(cursor.Position(), 3);

    // Codes outside 32..126 go to HandleKey and insert nothing.
    for (int code : {31, 127, 228}) {
        KeyEvent event{KeyEvent::KeyChar, code, 0, "\xc3\xa4"};
        EXPECT_EQ(cursor.HandleText(event, "xyaz"), "xyaz") << code;
        EXPECT_EQ(cursor.Position(), 3) << code;
    }
    // A key-down of a printable key is not text input.
    EXPECT_EQ(cursor.HandleText(Down('q'), "xyaz"), "xyaz");
}

TEST(Cursor, SeveralCharactersInOneEventAdvanceByTheirNumber) {
    Cursor cursor;
    cursor.Position(1);
    EXPECT_EQ(cursor.HandleText(Char("bcd"), "ae"), "abcde");
    EXPECT_EQ(cursor.Position(), 4);
}

TEST(Cursor, EditingKeysStayWithinTheText) {
    struct Case {
        const char* name;
        KeyEvent event;
        int position;
        const char* expectText;
        int expectPosition;
    } cases[] = {
        {"backspace at 0", Down(Key::Backspace), 0, "abc", 0},
        {"backspace", Down(Key::Backspace), 2, "ac", 1},
        {"delete at end", Down(Key::Delete), 3, "abc", 3},
        {"delete", Down(Key::Delete), 1, "ac", 1},
        {"left at 0", Down(Key::Left), 0, "abc", 0},
        {"right at end", Down(Key::Right), 3, "abc", 3},
        {"repeat left", Repeat(Key::Left), 2, "abc", 1},
        {"key-up does nothing", KeyEvent{KeyEvent::KeyUp, Key::Left, 0, ""}, 2, "abc", 2},
        {"home", Down(Key::Home), 2, "abc", 0},
        {"end", Down(Key::End), 1, "abc", 3},
        {"enter single-line", Down(Key::Enter), 1, "abc", 1},
        {"up single-line", Down(Key::Up), 1, "abc", 1},
        {"down single-line", Down(Key::Down), 1, "abc", 1},
        {"position beyond the text", Down(Key::Right), 99, "abc", 3},
    };
    for (const Case& c : cases) {
        Cursor cursor;
        cursor.Position(c.position);
        EXPECT_EQ(cursor.HandleKey(c.event, "abc"), c.expectText) << c.name;
        EXPECT_EQ(cursor.Position(), c.expectPosition) << c.name;
    }
}

TEST(Cursor, LeftShiftExtendsTheSelection) {
    Cursor cursor;
    cursor.Position(2);
    cursor.HandleKey(Down(Key::Right, platform::Modifier::LeftShift), "abcdef");
    EXPECT_EQ(cursor.Selection, (std::array<int, 3>{1, 2, 3}));
    cursor.HandleKey(Down(Key::Right, platform::Modifier::LeftShift), "abcdef");
    EXPECT_EQ(cursor.Selection, (std::array<int, 3>{1, 2, 4}));
    cursor.HandleKey(Down(Key::Left, platform::Modifier::LeftShift), "abcdef");
    cursor.HandleKey(Down(Key::Left, platform::Modifier::LeftShift), "abcdef");
    cursor.HandleKey(Down(Key::Left, platform::Modifier::LeftShift), "abcdef");
    EXPECT_EQ(cursor.SelectionRange(), (std::array<int, 2>{1, 2}));
    cursor.NormalizeSelection();
    EXPECT_EQ(cursor.Selection, (std::array<int, 3>{1, 1, 2}));

    // A repeat of an arrow without modifiers ends the selection.
    cursor.HandleKey(Repeat(Key::Right), "abcdef");
    EXPECT_FALSE(cursor.HasSelection());

    // The right Shift alone moves without selecting.
    Cursor right;
    right.Position(2);
    right.HandleKey(Down(Key::Right, platform::Modifier::RightShift), "abcdef");
    EXPECT_EQ(right.Position(), 3);
    EXPECT_FALSE(right.HasSelection());

    Cursor f1;
    f1.HandleKey(Down(Key::F1), "abc");
    EXPECT_EQ(f1.Selection, (std::array<int, 3>{1, 0, 1}));
}

TEST(Cursor, MultiLineNavigation) {
    const std::string text = "ab\ncde\nfg\nh";
    struct Case {
        const char* name;
        int key;
        int from;
        int expect;
    } cases[] = {
        {"up to a shorter line", Key::Up, 5, 2},
        {"down to a shorter line", Key::Down, 5, 9},
        {"up from column 3", Key::Up, 6, 2},
        {"up on the first line stays", Key::Up, 1, 1},
        {"down on the last line stays", Key::Down, 11, 11},
        {"down onto the last line", Key::Down, 8, 11},
        {"home goes to the line start", Key::Home, 5, 3},
        {"end goes to the line end", Key::End, 4, 6},
        {"end on the last line", Key::End, 10, 11},
        {"home on the first line", Key::Home, 2, 0},
    };
    for (const Case& c : cases) {
        Cursor cursor;
        cursor.Separator("\n");
        cursor.Position(c.from);
        EXPECT_EQ(cursor.HandleKey(Down(c.key), text), text) << c.name;
        EXPECT_EQ(cursor.Position(), c.expect) << c.name;
    }

    Cursor cursor;
    cursor.Separator("\n");
    cursor.Position(1);
    EXPECT_EQ(cursor.HandleKey(Down(Key::Enter), "ab"), "a\nb");
    EXPECT_EQ(cursor.Position(), 2);
}

TEST(Cursor, TextBeforeCountsCharacters) {
    EXPECT_EQ(Cursor::TextBefore("abc", 2), "ab");
    EXPECT_EQ(Cursor::TextBefore("\xc3\xa4x", 1), "\xc3\xa4");
    EXPECT_EQ(Cursor::TextBefore("abc", 9), "abc");
    EXPECT_EQ(Cursor::TextBefore("abc", -1), "");
}

class CursorWithFont : public ::testing::Test {
protected:
    void SetUp() override {
        font = platform::Font::Load(kMonoFont, 20);
        if (!font) GTEST_SKIP() << "no test font at " << kMonoFont;
    }
    std::shared_ptr<platform::Font> font;
};

TEST_F(CursorWithFont, SetCursorLocationPicksLineAndCharacter) {
    const int w = static_cast<int>(font->TextWidth("a"));
    const int h = static_cast<int>(font->Height());
    Cursor cursor;
    cursor.Separator("\n");
    const std::string text = "abc\nde";
    cursor.SetCursorLocation(*font, text, w + 1, h);  // on the boundary: line 0
    EXPECT_EQ(cursor.Position(), 1);
    cursor.SetCursorLocation(*font, text, w + 1, h + 1);
    EXPECT_EQ(cursor.Position(), 5);
    cursor.SetCursorLocation(*font, text, 1000, h + 1);  // right of the end
    EXPECT_EQ(cursor.Position(), 6);
    cursor.SetCursorLocation(*font, text, 0, h * 10);  // below the last line
    EXPECT_EQ(cursor.Position(), 4);

    const platform::Vec2i caret = cursor.CaretLocation(*font, text);
    EXPECT_EQ(caret, (platform::Vec2i{0, h}));
}

TEST_F(CursorWithFont, CaretIsDrawnAsWideAsASpaceAtTheEndAndBlinks) {
    testsupport::App();
    std::int64_t now = 1000;
    platform::SetMillisecsSource([&] { return now; });
    auto target = testsupport::MakeTarget(100, 40);
    target.canvas->Font(font);
    Cursor cursor;
    cursor.CaretWidth(0);
    cursor.Position(0);
    const platform::Color red{1, 0, 0, 1};
    cursor.DrawText(*target.canvas, "", 10, 5, true, platform::Color::White(), red);
    const int space = static_cast<int>(font->TextWidth(" "));
    EXPECT_TRUE(testsupport::Near(target.Pixel(10 + space - 1, 10), red)) << testsupport::Describe(target.Pixel(10 + space - 1, 10));
    EXPECT_TRUE(testsupport::Near(target.Pixel(10 + space + 1, 10), platform::Color::Black()));
    EXPECT_FALSE(cursor.BlinkPhase());  // first draw flips the phase

    now += 100;
    target.canvas->Clear(platform::Color::Black());
    cursor.DrawText(*target.canvas, "", 10, 5, true, platform::Color::White(), red);
    EXPECT_TRUE(testsupport::Near(target.Pixel(12, 10), platform::Color::Black()));
    now += 500;
    cursor.DrawText(*target.canvas, "", 10, 5, true, platform::Color::White(), red);
    EXPECT_TRUE(cursor.BlinkPhase());
    platform::SetMillisecsSource({});
}

}  // namespace
