// Atlas builder: packs many small pictures (the frames of animations) onto a
// few large textures, the pages, so that the batching canvas draws them one
// after another without a texture change in between.
//
// A builder is made from the sizes of the pictures it will hold and lays
// them out at once, the tallest first on shelves, onto as few pages as the
// largest texture allows; each page starts as a transparent image. Place
// then copies a picture's pixels onto its slot and returns a sub-image of
// the page of exactly the picture's size, which draws and measures as an
// image of its own would. A slot may be filled at any time, also after the
// page was drawn (the page is uploaded again on its next use).
//
// Filtering: the pictures are drawn scaled and rotated with linear filtering
// and mipmaps. Every slot starts on a grid of Spacing(maxLevel) pixels and is
// followed by at least as many transparent pixels, the page borders too, and
// the pages keep only the mipmap levels 0 to maxLevel. A texel of those
// levels then never holds pixels of two pictures, and the filter's
// neighbouring texels around a picture are transparent gutter: no picture
// shows a colour of its neighbour at any scale or rotation.
//
// Depends on the platform's images.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/image.h"
#include "platform/types.h"

namespace kestrum::framework::atlasbuilder {

class AtlasBuilder {
public:
    using ImagePtr = std::shared_ptr<platform::Image>;

    // The smallest mipmap level the pages keep: 3 keeps 8 × minification
    // filtered, for a gutter of 8 pixels.
    static constexpr int DefaultMaxLevel = 3;
    // The side no page exceeds, whatever the driver takes: a page is held
    // in memory and on the GPU as one block.
    static constexpr int LargestPage = 4096;

    // The grid and gutter of the pages of mipmap levels 0 to maxLevel.
    static int Spacing(int maxLevel) { return 1 << maxLevel; }

    // Lays out pictures of the sizes. A size with a side of 0 or less, or
    // one that does not fit a page with its gutters, gets no slot. maxSide 0
    // takes the driver's largest texture (4096 while GL is not available),
    // in any case at most LargestPage. flags are the pages' texture flags.
    explicit AtlasBuilder(const std::vector<platform::Vec2i>& sizes,
                          int flags = platform::TextureFlags::FilterMipmap, int maxSide = 0,
                          int maxLevel = DefaultMaxLevel);

    std::size_t Slots() const { return slots_.size(); }
    // The page of slot i, -1 for a size that got no slot (or an i out of range).
    int PageOf(std::size_t i) const;
    // The rectangle of slot i on its page; empty without a slot.
    platform::Recti SlotRect(std::size_t i) const;
    // The page images, transparent until slots are filled.
    const std::vector<ImagePtr>& Pages() const { return pages_; }

    // Copies pixels onto slot i and returns the sub-image of the slot. Null
    // when slot i has none or pixels has another size than the slot was
    // laid out for.
    ImagePtr Place(std::size_t i, const platform::Pixmap& pixels);
    // The silhouette of the rectangle from of source onto slot i: every pixel
    // whose alpha is not 0 takes the tint (straight RGBA), the others are
    // copied as they are. source may be a page of this builder. Null as for
    // Place, or when from does not lie inside source.
    ImagePtr PlaceMasked(std::size_t i, const platform::Pixmap& source, platform::Recti from, platform::Color tint);

private:
    struct Slot {
        int page = -1;
        platform::Recti rect;
    };
    // The page pixmap and sub-image of slot i after a copy into it; null if it has no slot or another size.
    platform::Pixmap* Target_(std::size_t i, int width, int height) const;
    ImagePtr Finish_(std::size_t i) const;

    std::vector<Slot> slots_;
    std::vector<ImagePtr> pages_;
};

}  // namespace kestrum::framework::atlasbuilder

namespace kestrum::framework {
using namespace atlasbuilder;
}
