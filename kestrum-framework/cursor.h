// Cursor: the editing state of a text field (caret, selection, blink phase).
//
// The cursor does not own the text: every editing operation receives the
// current text and returns the new one, which the caller keeps. Positions
// count characters (code points), so a multi-byte character is one step.
// A field is single-line while its separator is "" and multi-line otherwise;
// a multi-line field breaks its text into lines at the separator's first
// character. Drawing uses the canvas's current font.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/canvas.h"
#include "platform/font.h"
#include "platform/input.h"
#include "platform/types.h"

namespace kestrum::framework::cursor {

class Cursor {
public:
    Cursor() = default;

    // A text event with a printable code (32 to 126) inserts its text at the
    // caret and moves the caret past every inserted character; every other
    // event goes to HandleKey.
    std::string HandleText(const platform::KeyEvent& event, const std::string& text);
    // Moving and editing keys (Left, Right, Backspace, Delete, Home, End and,
    // in a multi-line field, Enter, Up and Down); Shift extends a selection.
    // The caret always stays within the text.
    std::string HandleKey(const platform::KeyEvent& event, const std::string& text);

    // Moves the caret to the character at (x, y) relative to the text's
    // top-left corner; a point below the last line picks the last line.
    void SetCursorLocation(const platform::Font& font, const std::string& text, int x, int y);

    // One line of text with a blinking caret (500 ms on, 500 ms off).
    void DrawText(platform::Canvas& canvas, const std::string& text, float x, float y, bool showCaret,
                  platform::Color textColor, platform::Color caretColor);
    // The text character by character, breaking lines at the separator.
    void DrawTextField(platform::Canvas& canvas, const std::string& text, float x, float y) const;
    // The highlight boxes of the selection in the canvas's current colour.
    void DrawSelection(platform::Canvas& canvas, const std::string& text, float x, float y) const;
    // Selection, caret (always shown) and text.
    void DrawText2(platform::Canvas& canvas, const std::string& text, float x, float y, platform::Color textColor,
                   platform::Color caretColor, platform::Color selectionColor) const;
    // The caret's offset from the text's top-left corner.
    platform::Vec2i CaretLocation(const platform::Font& font, const std::string& text) const;

    // (smaller, larger) of the selection's anchor and end.
    std::array<int, 2> SelectionRange() const;
    void NormalizeSelection();
    bool HasSelection() const { return Selection[0] != 0; }
    void ClearSelection() { Selection[0] = 0; }

    static bool IsPrintable(const platform::KeyEvent& event) { return event.key >= 32 && event.key <= 126; }
    // The first count characters of the text.
    static std::string TextBefore(std::string_view text, int count);

    int CaretWidth() const { return caretWidth_; }
    void CaretWidth(int width) { caretWidth_ = width; }
    int Position() const { return position_; }
    void Position(int position) { position_ = position; }
    const std::string& Separator() const { return separator_; }
    void Separator(std::string separator) { separator_ = std::move(separator); }
    bool BlinkPhase() const { return blink_; }

    // Active flag (0 or 1), anchor index, end index.
    std::array<int, 3> Selection{0, 0, 0};

private:
    char32_t SeparatorChar() const;

    std::int64_t nextBlink_ = 0;
    int caretWidth_ = 1;
    std::string separator_;
    bool blink_ = true;
    int position_ = 0;
};

}  // namespace kestrum::framework::cursor

namespace kestrum::framework {
using cursor::Cursor;
}  // namespace kestrum::framework
