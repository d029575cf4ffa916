#include "kestrum-framework/cursor.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/clock.h"
#include "platform/text.h"

namespace kestrum::framework::cursor {

namespace {

bool Pressed(const platform::KeyEvent& event, int key) {
    return event.key == key &&
           (event.type == platform::KeyEvent::KeyDown || event.type == platform::KeyEvent::KeyRepeat);
}

int Length(const std::u32string& text) { return static_cast<int>(text.size()); }

// Index of the last c before index end (exclusive), or -1.
int FindLastBefore(const std::u32string& text, char32_t c, int end) {
    for (int i = std::min(end, Length(text)) - 1; i >= 0; --i) {
        if (text[static_cast<std::size_t>(i)] == c) return i;
    }
    return -1;
}

// Index of the first c at or after start, or the text's length.
int FindFrom(const std::u32string& text, char32_t c, int start) {
    for (int i = std::max(start, 0); i < Length(text); ++i) {
        if (text[static_cast<std::size_t>(i)] == c) return i;
    }
    return Length(text);
}

float CharWidth(const platform::Font& font, char32_t c) { return font.TextWidth(platform::FromChar(c)); }

int TruncatedWidth(const platform::Font& font, char32_t c) { return static_cast<int>(CharWidth(font, c)); }

}  // namespace

char32_t Cursor::SeparatorChar() const {
    if (separator_.empty()) return 0;
    return platform::ToUtf32(separator_).front();
}

std::string Cursor::HandleText(const platform::KeyEvent& event, const std::string& text) {
    if (event.type != platform::KeyEvent::KeyChar || !IsPrintable(event)) return HandleKey(event, text);
    std::u32string chars = platform::ToUtf32(text);
    std::u32string typed = event.text.empty() ? std::u32string(1, static_cast<char32_t>(event.key))
                                              : platform::ToUtf32(event.text);
    const int p = std::clamp(position_, 0, Length(chars));
    chars.insert(static_cast<std::size_t>(p), typed);
    position_ = p + Length(typed);
    return platform::FromUtf32(chars);
}

std::string Cursor::HandleKey(const platform::KeyEvent& event, const std::string& text) {
    std::u32string chars = platform::ToUtf32(text);
    const int length = Length(chars);
    const char32_t sep = SeparatorChar();
    const bool multiLine = sep != 0;
    const bool shift = event.modifiers == platform::Modifier::LeftShift;
    int p = std::clamp(position_, 0, length);

    // Bounds of the caret's line, measured on the unchanged text. A
    // single-line field is one line from 0 to the end.
    const int lineStart = multiLine ? FindLastBefore(chars, sep, p) + 1 : 0;
    const int lineEnd = multiLine ? FindFrom(chars, sep, p) : length;
    const int column = p - lineStart;

    const bool isArrow = event.key == platform::Key::Left || event.key == platform::Key::Right ||
                         event.key == platform::Key::Up || event.key == platform::Key::Down;
    if (HasSelection() && event.modifiers == 0 && event.type != platform::KeyEvent::KeyDown && isArrow) {
        ClearSelection();
    }
    if (event.key == platform::Key::F1 && event.type == platform::KeyEvent::KeyDown) Selection = {1, 0, 1};

    auto shiftStart = [&] {
        if (shift && !HasSelection()) Selection = {1, p, p};
    };
    auto shiftEnd = [&] {
        if (shift) Selection[2] = p;
    };

    if (Pressed(event, platform::Key::Left)) {
        shiftStart();
        p = std::max(p - 1, 0);
        shiftEnd();
    }
    if (Pressed(event, platform::Key::Right)) {
        shiftStart();
        p = std::min(p + 1, length);
        shiftEnd();
    }
    if (Pressed(event, platform::Key::Backspace) && p > 0) {
        chars.erase(static_cast<std::size_t>(p - 1), 1);
        --p;
    }
    if (Pressed(event, platform::Key::Home)) p = lineStart;
    if (Pressed(event, platform::Key::End)) p = lineEnd;
    if (Pressed(event, platform::Key::Delete) && p < Length(chars)) chars.erase(static_cast<std::size_t>(p), 1);
    if (multiLine) {
        if (Pressed(event, platform::Key::Enter)) {
            chars.insert(static_cast<std::size_t>(p), 1, sep);
            ++p;
        }
        // Up on the first line and Down on the last stay where they are.
        if (Pressed(event, platform::Key::Up) && lineStart > 0) {
            shiftStart();
            const int prevEnd = lineStart - 1;
            const int prevStart = FindLastBefore(chars, sep, prevEnd) + 1;
            p = prevStart + std::min(column, prevEnd - prevStart);
            shiftEnd();
        }
        if (Pressed(event, platform::Key::Down) && lineEnd < length) {
            shiftStart();
            const int nextStart = lineEnd + 1;
            const int nextEnd = FindFrom(chars, sep, nextStart);
            p = nextStart + std::min(column, nextEnd - nextStart);
            shiftEnd();
        }
    }
    position_ = std::clamp(p, 0, Length(chars));
    return platform::FromUtf32(chars);
}

void Cursor::SetCursorLocation(const platform::Font& font, const std::string& text, int x, int y) {
    const std::u32string chars = platform::ToUtf32(text);
    const char32_t sep = SeparatorChar();
    std::vector<std::u32string> lines;
    if (sep == 0) {
        lines.push_back(chars);
    } else {
        std::u32string line;
        for (char32_t c : chars) {
            if (c == sep) {
                lines.push_back(line);
                line.clear();
            } else {
                line += c;
            }
        }
        lines.push_back(line);
    }
    const float height = font.Height();
    int index = 0;
    if (height > 0) {
        while (index < static_cast<int>(lines.size()) - 1 && static_cast<float>(y) > (index + 1) * height) ++index;
    }
    int position = 0;
    for (int k = 0; k < index; ++k) position += Length(lines[static_cast<std::size_t>(k)]) + 1;
    int running = 0;
    for (char32_t c : lines[static_cast<std::size_t>(index)]) {
        running += TruncatedWidth(font, c);
        if (running > x) break;
        ++position;
    }
    position_ = position;
}

void Cursor::DrawText(platform::Canvas& canvas, const std::string& text, float x, float y, bool showCaret,
                      platform::Color textColor, platform::Color caretColor) {
    const auto& font = canvas.Font();
    if (font && blink_ && showCaret) {
        const std::u32string chars = platform::ToUtf32(text);
        const int p = std::clamp(position_, 0, Length(chars));
        int width = caretWidth_;
        if (width < 1) width = p < Length(chars) ? TruncatedWidth(*font, chars[static_cast<std::size_t>(p)]) : 0;
        if (width < 1) width = TruncatedWidth(*font, U' ');
        int offset = 0;
        for (int i = 0; i < p; ++i) offset += TruncatedWidth(*font, chars[static_cast<std::size_t>(i)]);
        canvas.Color(caretColor);
        canvas.DrawRect(x + static_cast<float>(offset), y, static_cast<float>(width), font->Height());
    }
    canvas.Color(textColor);
    canvas.DrawText(text, x, y, 0, 0);
    const std::int64_t now = platform::Millisecs();
    if (nextBlink_ < now) {
        blink_ = !blink_;
        nextBlink_ = now + 500;
    }
}

void Cursor::DrawTextField(platform::Canvas& canvas, const std::string& text, float x, float y) const {
    const auto& font = canvas.Font();
    if (!font) return;
    const char32_t sep = SeparatorChar();
    const float startX = x;
    for (char32_t c : platform::ToUtf32(text)) {
        if (sep != 0 && c == sep) {
            y += font->Height();
            x = startX;
            continue;
        }
        const std::string glyph = platform::FromChar(c);
        canvas.DrawText(glyph, x, y, 0, 0);
        x += font->TextWidth(glyph);
    }
}

void Cursor::DrawSelection(platform::Canvas& canvas, const std::string& text, float x, float y) const {
    const auto& font = canvas.Font();
    if (!HasSelection() || !font) return;
    const auto [from, to] = SelectionRange();
    const char32_t sep = SeparatorChar();
    const float startX = x;
    const std::u32string chars = platform::ToUtf32(text);
    for (int i = 0; i < Length(chars); ++i) {
        const char32_t c = chars[static_cast<std::size_t>(i)];
        if (sep != 0 && c == sep) {
            y += font->Height();
            x = startX;
            continue;
        }
        const float width = CharWidth(*font, c);
        if (i >= from && i < to) canvas.DrawRect(x, y, width, font->Height());
        x += width;
    }
}

void Cursor::DrawText2(platform::Canvas& canvas, const std::string& text, float x, float y,
                       platform::Color textColor, platform::Color caretColor, platform::Color selectionColor) const {
    const auto& font = canvas.Font();
    if (!font) return;
    canvas.Color(selectionColor);
    DrawSelection(canvas, text, x, y);
    const platform::Vec2i caret = CaretLocation(*font, text);
    canvas.Color(caretColor);
    canvas.DrawRect(x + static_cast<float>(caret.x), y + static_cast<float>(caret.y), static_cast<float>(caretWidth_),
                    font->Height());
    canvas.Color(textColor);
    DrawTextField(canvas, text, x, y);
}

platform::Vec2i Cursor::CaretLocation(const platform::Font& font, const std::string& text) const {
    const std::u32string chars = platform::ToUtf32(text);
    const char32_t sep = SeparatorChar();
    const int p = std::clamp(position_, 0, Length(chars));
    int x = 0;
    int y = 0;
    for (int i = 0; i < p; ++i) {
        const char32_t c = chars[static_cast<std::size_t>(i)];
        if (sep != 0 && c == sep) {
            x = 0;
            y = static_cast<int>(static_cast<float>(y) + font.Height());
        } else {
            x = static_cast<int>(static_cast<float>(x) + CharWidth(font, c));
        }
    }
    return {x, y};
}

std::array<int, 2> Cursor::SelectionRange() const {
    return {std::min(Selection[1], Selection[2]), std::max(Selection[1], Selection[2])};
}

void Cursor::NormalizeSelection() {
    if (HasSelection() && Selection[1] > Selection[2]) std::swap(Selection[1], Selection[2]);
}

std::string Cursor::TextBefore(std::string_view text, int count) {
    const std::u32string chars = platform::ToUtf32(text);
    const int n = std::clamp(count, 0, Length(chars));
    return platform::FromUtf32(std::u32string_view(chars).substr(0, static_cast<std::size_t>(n)));
}

}  // namespace kestrum::framework::cursor
