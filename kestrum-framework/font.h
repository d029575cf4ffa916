// Text drawing and text fitting: blocks of several lines on top of the
// platform's one-line text drawing and measuring.
//
// Lines are separated by a separator string chosen by the caller (the game
// passes "\n"). All measuring goes through the platform font: the width of a
// line and the font's line height; sizes are truncated toward zero where a
// block is measured.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.h"
#include "platform/font.h"

namespace kestrum::framework::font {

// Draws the lines of text with the canvas's current font (nothing without
// one). The handle places the block: (0, 0) puts its top-left corner at
// (x, y), (1, 1) its bottom-right corner. With centre set every line is
// centred on the middle of the widest one. The canvas matrix is pushed and
// popped.
void DrawText(platform::Canvas& canvas, std::string_view text, float x, float y, float handleX = 0,
              float handleY = 0, bool centre = false, std::string_view separator = "\n");

// The width of the widest line, truncated; 0 without a font.
int TextWidth(const std::shared_ptr<platform::Font>& font, std::string_view text,
              std::string_view separator = "\n");

// The number of lines times the truncated line height; 0 without a font.
// An empty text is one line.
int TextHeight(const std::shared_ptr<platform::Font>& font, std::string_view text,
               std::string_view separator = "\n");

// Word-wraps text to width: words are cut at single spaces and joined while
// the measured line stays narrower than width; every separator ends a line
// (two in a row give an empty line). A word wider than width stands alone on
// its own line. Lines are trimmed. Without a font every separated part is one
// line.
std::vector<std::string> FitText(const std::shared_ptr<platform::Font>& font, std::string_view text, int width,
                                 std::string_view separator = "\n");

}  // namespace kestrum::framework::font

namespace kestrum::framework {
using namespace font;
}
