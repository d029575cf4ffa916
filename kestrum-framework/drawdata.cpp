// Draw data and draw sets.
#include "kestrum-framework/drawdata.h"

#include <algorithm>

#include "kestrum-framework/contentmanager.h"

namespace kestrum::framework::drawdata {

namespace {

// The record of a slot, made on first request; the grid grows to hold it.
template <typename Record>
std::shared_ptr<Record> EntryAt(arrays::Array2D<std::shared_ptr<Record>>& entries, int col, int row) {
    if (col < 0 || row < 0) return nullptr;
    entries = arrays::ExpandArray(std::move(entries), col + 1, row + 1);
    std::shared_ptr<Record>& slot = entries(col, row);
    if (!slot) slot = std::make_shared<Record>();
    return slot;
}

// The largest side (as picked by side(image)) over the images of the grid; 0 without images.
template <typename Side>
float LargestImageSide(const arrays::Array2D<std::shared_ptr<ImageData>>& entries, Side side) {
    int largest = 0;
    for (int c = 0; c < entries.Columns(); ++c) {
        for (int r = 0; r < entries.Rows(); ++r) {
            const auto& entry = entries(c, r);
            if (entry && entry->Image) largest = std::max(largest, side(*entry->Image));
        }
    }
    return static_cast<float>(largest);
}

}  // namespace

void DrawData::Apply(platform::Canvas& canvas, float x, float y, float width, float height, float rotation,
                     float handleX, float handleY, platform::Color color) const {
    canvas.Translate(x, y);
    canvas.Translate(Offset.x, Offset.y);
    canvas.Scale(Scale.x, Scale.y);
    canvas.Rotate(rotation);
    canvas.Translate(-width * handleX, -height * handleY);
    canvas.BlendMode(BlendMode);
    canvas.Color(Color * color);
}

void DrawSet::ApplyOffset(platform::Canvas& canvas) const { canvas.Translate(Offset.x, Offset.y); }

ImageSet::ImageSet() : Entries(1, 1) {}

std::shared_ptr<ImageData> ImageSet::DrawData(int col, int row) { return EntryAt(Entries, col, row); }

int ImageSet::Frames() const { return Entries.Rows(); }

float ImageSet::Width() const {
    if (Width_ != 0) return Width_;
    return LargestImageSide(Entries, [](const platform::Image& image) { return image.Width(); });
}

float ImageSet::Height() const {
    if (Height_ != 0) return Height_;
    return LargestImageSide(Entries, [](const platform::Image& image) { return image.Height(); });
}

TextSet::TextSet() : Font(NullFont(nullptr)), Entries(1, 1) {}

std::shared_ptr<TextData> TextSet::DrawData(int col, int row) { return EntryAt(Entries, col, row); }

float TextSet::Width() const {
    if (Width_ != 0) return Width_;
    if (Text.empty() || !Font) return 0;
    return Font->TextWidth(Text);
}

float TextSet::Height() const {
    if (Height_ != 0) return Height_;
    return Font ? Font->Height() : 0;
}

}  // namespace kestrum::framework::drawdata
