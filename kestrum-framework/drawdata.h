// Draw data and draw sets: how one visual element of a widget looks in each
// of its render states and animation frames.
//
// A DrawData record holds a blend mode, a colour, an offset and a scale;
// ImageData adds the image of the entry, TextData adds nothing (the font and
// the text belong to the TextSet). A set keeps a two-dimensional grid of
// records by column and row (the GUI uses the column for the render state and
// the row for the frame); the grid grows on demand and a record is made the
// first time its slot is asked for. Records are shared: DrawData(col, row)
// returns the record itself and callers change its fields in place.
//
// Depends on arrays.h (the grid), contentmanager.h (the placeholder font)
// and platform/canvas.h.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kestrum-framework/arrays.h"
#include "platform/canvas.h"
#include "platform/font.h"
#include "platform/image.h"
#include "platform/types.h"

namespace kestrum::framework::drawdata {

class DrawData {
public:
    // The canvas's numbering: 1 opaque, 2 alpha, 3 additive, 4 multiply.
    int BlendMode = platform::BlendMode::Alpha;
    platform::Color Color{1, 1, 1, 1};
    platform::Vec2f Offset{0, 0};
    platform::Vec2f Scale{1, 1};

    float OffsetX() const { return Offset.x; }
    void OffsetX(float value) { Offset.x = value; }
    float OffsetY() const { return Offset.y; }
    void OffsetY(float value) { Offset.y = value; }
    float ScaleX() const { return Scale.x; }
    void ScaleX(float value) { Scale.x = value; }
    float ScaleY() const { return Scale.y; }
    void ScaleY(float value) { Scale.y = value; }
    float Alpha() const { return Color.a; }
    void Alpha(float value) { Color.a = value; }

    // Multiplies the canvas matrix by: translation (x, y), translation Offset,
    // scale Scale, rotation, translation -(width × handleX, height × handleY);
    // so an element drawn afterwards from (0, 0) has its handle point at
    // (x, y) + Offset. Then sets the canvas blend mode to BlendMode and its
    // colour to Color × color. The caller pushes the matrix before and pops
    // it after drawing the element.
    void Apply(platform::Canvas& canvas, float x, float y, float width, float height, float rotation,
               float handleX, float handleY, platform::Color color) const;
};

class ImageData : public DrawData {
public:
    std::shared_ptr<platform::Image> Image;
};

class TextData : public DrawData {};

// The common part of both sets: an offset of the whole set (a caption's
// place inside its button).
class DrawSet {
public:
    platform::Vec2f Offset{0, 0};

    float OffsetX() const { return Offset.x; }
    void OffsetX(float value) { Offset.x = value; }
    float OffsetY() const { return Offset.y; }
    void OffsetY(float value) { Offset.y = value; }

    // Translates the canvas by Offset.
    void ApplyOffset(platform::Canvas& canvas) const;
};

class ImageSet : public DrawSet {
public:
    ImageSet();

    // Nine-patch borders handed to Draw9Patch: empty for none, one value for
    // a uniform border, 36 values for nine explicit source rectangles.
    std::vector<int> Borders;
    // Grid of records by (column, row); starts as 1 × 1 with an empty slot.
    arrays::Array2D<std::shared_ptr<ImageData>> Entries;

    // The record of that slot, made (white, alpha blend, no image) when the
    // slot is empty; the grid grows to hold the slot. Indices must be 0 or
    // more: a negative one gives null.
    std::shared_ptr<ImageData> DrawData(int col, int row);
    // The number of rows of the grid.
    int Frames() const;
    // The explicit size when it is not 0, else the largest image width
    // (height) of the grid; 0 without images.
    float Width() const;
    void Width(float value) { Width_ = value; }
    float Height() const;
    void Height(float value) { Height_ = value; }

private:
    float Height_ = 0;
    float Width_ = 0;
};

class TextSet : public DrawSet {
public:
    // Font is the placeholder font (NullFont) at first.
    TextSet();

    std::shared_ptr<platform::Font> Font;
    std::string Text;
    // Grid of records by (column, row); starts as 1 × 1 with an empty slot.
    arrays::Array2D<std::shared_ptr<TextData>> Entries;

    // As ImageSet::DrawData.
    std::shared_ptr<TextData> DrawData(int col, int row);
    // The explicit width when it is not 0, else the width of Text as one
    // line in Font; 0 for an empty text or no font.
    float Width() const;
    void Width(float value) { Width_ = value; }
    // The explicit height when it is not 0, else the font's line height; 0 without a font.
    float Height() const;
    void Height(float value) { Height_ = value; }

private:
    float Height_ = 0;
    float Width_ = 0;
};

}  // namespace kestrum::framework::drawdata

namespace kestrum::framework {
using namespace drawdata;
}
