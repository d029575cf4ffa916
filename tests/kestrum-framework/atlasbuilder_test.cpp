// The atlas builder: the layout of the slots (inside their pages, on the
// grid, with a gutter between any two), copying pixels and silhouettes onto
// slots, and drawing: no frame drawn scaled and rotated shows a colour of
// its neighbours, and a slot filled after the page was drawn shows its
// pixels.
#include "kestrum-framework/atlasbuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "support/testsupport.h"

namespace {

using kestrum::framework::AtlasBuilder;
using platform::Recti;
using platform::Vec2i;

int AlignUp(int value, int grid) { return (value + grid - 1) / grid * grid; }

bool Overlap(Recti a, Recti b) {
    return a.min.x < b.max.x && b.min.x < a.max.x && a.min.y < b.max.y && b.min.y < a.max.y;
}

// Every size that fits has a slot of its size on a page no larger than
// maxSide, on the grid and a gutter away from the page's borders and from
// every other slot's grid cells; every other size has none.
void ExpectSoundLayout(const AtlasBuilder& atlas, const std::vector<Vec2i>& sizes, int maxSide, int grid) {
    ASSERT_EQ(atlas.Slots(), sizes.size());
    for (const auto& page : atlas.Pages()) {
        EXPECT_LE(page->Width(), maxSide);
        EXPECT_LE(page->Height(), maxSide);
        EXPECT_EQ(page->Width() % grid, 0);
        EXPECT_EQ(page->Height() % grid, 0);
    }
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        SCOPED_TRACE(i);
        const bool fits = sizes[i].x > 0 && sizes[i].y > 0 && AlignUp(sizes[i].x, grid) + 2 * grid <= maxSide &&
                          AlignUp(sizes[i].y, grid) + 2 * grid <= maxSide;
        if (!fits) {
            EXPECT_EQ(atlas.PageOf(i), -1);
            EXPECT_EQ(atlas.SlotRect(i).Width(), 0);
            continue;
        }
        ASSERT_GE(atlas.PageOf(i), 0);
        ASSERT_LT(atlas.PageOf(i), static_cast<int>(atlas.Pages().size()));
        const Recti r = atlas.SlotRect(i);
        EXPECT_EQ(r.Size(), sizes[i]);
        EXPECT_EQ(r.min.x % grid, 0);
        EXPECT_EQ(r.min.y % grid, 0);
        EXPECT_GE(r.min.x, grid);
        EXPECT_GE(r.min.y, grid);
        const auto& page = atlas.Pages()[static_cast<std::size_t>(atlas.PageOf(i))];
        EXPECT_LE(AlignUp(r.max.x, grid) + grid, page->Width());
        EXPECT_LE(AlignUp(r.max.y, grid) + grid, page->Height());
        // The slot's grid cells and a gutter around them hold no other slot.
        const Recti kept(r.min.x - grid, r.min.y - grid, AlignUp(r.max.x, grid) + grid, AlignUp(r.max.y, grid) + grid);
        for (std::size_t j = 0; j < sizes.size(); ++j) {
            if (j == i || atlas.PageOf(j) != atlas.PageOf(i)) continue;
            EXPECT_FALSE(Overlap(kept, atlas.SlotRect(j))) << "slot " << j;
        }
    }
}

std::vector<Vec2i> Repeat(Vec2i size, int count) { return std::vector<Vec2i>(static_cast<std::size_t>(count), size); }

// A pixmap of one colour (0xAARRGGBB).
platform::Pixmap Solid(int width, int height, std::uint32_t argb) {
    platform::Pixmap pixmap(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixmap.SetPixelARGB(x, y, argb);
    }
    return pixmap;
}

}  // namespace

TEST(AtlasBuilder, LayoutKeepsEverySlotOnTheGridAndAGutterFromTheOthers) {
    std::vector<Vec2i> mixed = {{96, 56}, {1, 1},  {52, 22},   {208, 120}, {0, 10},  {-5, 5},
                                {60, 48}, {9, 7},  {5000, 10}, {176, 150}, {40, 40}, {10, 4080}};
    const struct {
        const char* name;
        std::vector<Vec2i> sizes;
        int maxSide;
        int maxLevel;
    } cases[] = {
        {"frames of one size", Repeat({56, 56}, 40), 4096, 3},
        {"mixed, some too large or empty", mixed, 4096, 3},
        {"several pages", Repeat({100, 100}, 30), 256, 3},
        {"a gutter of one pixel", mixed, 4096, 0},
        {"a wide gutter", mixed, 1024, 5},
        {"fits exactly, and one pixel more", {{496, 496}, {497, 8}, {8, 497}}, 512, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const AtlasBuilder atlas(c.sizes, platform::TextureFlags::FilterMipmap, c.maxSide, c.maxLevel);
        ExpectSoundLayout(atlas, c.sizes, c.maxSide, AtlasBuilder::Spacing(c.maxLevel));
        for (const auto& page : atlas.Pages()) EXPECT_EQ(page->GetTexture()->MaxMipLevel(), c.maxLevel);
    }
}

TEST(AtlasBuilder, PagesAreFewAndNoLargerThanTheirFrames) {
    // 40 frames of 56 × 56 take 40 cells of 64 × 64: one page about square,
    // not a page of the largest size.
    const AtlasBuilder one(Repeat({56, 56}, 40), platform::TextureFlags::FilterMipmap, 4096, 3);
    ASSERT_EQ(one.Pages().size(), 1u);
    const auto& page = *one.Pages()[0];
    EXPECT_LE(page.Width() * page.Height(), 2 * 40 * 64 * 64) << page.Width() << " x " << page.Height();
    EXPECT_LE(std::max(page.Width(), page.Height()), 2 * std::min(page.Width(), page.Height()));

    // A page of 256 holds 2 × 2 cells of 112: 30 frames take 8 pages.
    const AtlasBuilder several(Repeat({100, 100}, 30), platform::TextureFlags::FilterMipmap, 256, 3);
    EXPECT_EQ(several.Pages().size(), 8u);

    const AtlasBuilder none({{0, 0}, {5000, 9}}, platform::TextureFlags::FilterMipmap, 4096, 3);
    EXPECT_TRUE(none.Pages().empty());
}

TEST(AtlasBuilder, PlaceCopiesThePixelsOntoTheSlotAndLeavesTheGutter) {
    AtlasBuilder atlas({{3, 2}, {4, 4}}, platform::TextureFlags::FilterMipmap, 64, 2);
    ASSERT_EQ(atlas.Pages().size(), 1u);
    platform::Pixmap pixels(3, 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) pixels.SetPixelARGB(x, y, 0xFF000000u | static_cast<std::uint32_t>(y * 3 + x + 1));
    }
    const auto image = atlas.Place(0, pixels);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Rect(), atlas.SlotRect(0));
    EXPECT_EQ(image->Width(), 3);
    EXPECT_EQ(image->Height(), 2);
    EXPECT_EQ(image->GetTexture(), atlas.Pages()[0]->GetTexture());
    const auto& page = *atlas.Pages()[0]->GetTexture()->GetPixmap();
    const Recti r = atlas.SlotRect(0);
    for (int y = 0; y < page.Height(); ++y) {
        for (int x = 0; x < page.Width(); ++x) {
            const bool inside = r.Contains({x, y});
            const std::uint32_t expected = inside ? pixels.GetPixelARGB(x - r.min.x, y - r.min.y) : 0u;
            ASSERT_EQ(page.GetPixelARGB(x, y), expected) << x << "," << y;
        }
    }

    // Another size than the slot's, a size with no slot, a slot out of range.
    EXPECT_FALSE(atlas.Place(1, pixels));
    AtlasBuilder tooSmall({{100, 100}}, platform::TextureFlags::FilterMipmap, 64, 2);
    EXPECT_FALSE(tooSmall.Place(0, platform::Pixmap(100, 100)));
    EXPECT_FALSE(atlas.Place(7, pixels));
}

TEST(AtlasBuilder, PlaceMaskedMakesASilhouetteFromAnyRectangleOfTheSource) {
    AtlasBuilder atlas({{2, 2}, {2, 2}}, platform::TextureFlags::FilterMipmap, 64, 2);
    platform::Pixmap pixels(2, 2);
    pixels.SetPixelARGB(0, 0, 0xFF102030u);  // opaque
    pixels.SetPixelARGB(1, 0, 0x01405060u);  // nearly transparent still counts
    pixels.SetPixelARGB(0, 1, 0x00708090u);  // transparent keeps its bytes
    const auto normal = atlas.Place(0, pixels);
    ASSERT_TRUE(normal);
    // From the page itself, as the flash frames are made from their frames.
    const auto& page = atlas.Pages()[0]->GetTexture()->GetPixmap();
    const auto flash = atlas.PlaceMasked(1, *page, normal->Rect(), {1, 0.5f, 0, 1});
    ASSERT_TRUE(flash);
    EXPECT_EQ(flash->GetTexture(), normal->GetTexture());
    const Recti r = flash->Rect();
    EXPECT_EQ(page->GetPixelARGB(r.min.x, r.min.y), 0xFFFF8000u);
    EXPECT_EQ(page->GetPixelARGB(r.min.x + 1, r.min.y), 0xFFFF8000u);
    EXPECT_EQ(page->GetPixelARGB(r.min.x, r.min.y + 1), 0x00708090u);
    EXPECT_EQ(page->GetPixelARGB(r.min.x + 1, r.min.y + 1), 0u);
    // The frame it was made from is unchanged.
    EXPECT_EQ(page->GetPixelARGB(normal->Rect().min.x, normal->Rect().min.y), 0xFF102030u);

    EXPECT_FALSE(atlas.PlaceMasked(1, pixels, {1, 1, 3, 3}, {1, 1, 1, 1})) << "reaches out of the source";
    EXPECT_FALSE(atlas.PlaceMasked(1, pixels, {0, 0, 1, 2}, {1, 1, 1, 1})) << "another size than the slot";
}

// 3 × 3 frames of 32 × 32 in one atlas, opaque up to their edges (the worst
// case for bleeding): the middle one red, the others green or blue. The red
// frame is drawn scaled down and turned, with linear filtering and mipmaps;
// no pixel may take any green or blue.
TEST(AtlasBuilder, FramesDrawnScaledAndTurnedShowNoColourOfTheirNeighbours) {
    testsupport::App();
    AtlasBuilder atlas(Repeat({32, 32}, 9), platform::TextureFlags::FilterMipmap, 4096, AtlasBuilder::DefaultMaxLevel);
    ASSERT_EQ(atlas.Pages().size(), 1u);
    std::vector<platform::ImagePtr> frames;
    for (std::size_t i = 0; i < 9; ++i) {
        const std::uint32_t colour = i == 4 ? 0xFFFF0000u : i % 2 ? 0xFF00FF00u : 0xFF0000FFu;
        frames.push_back(atlas.Place(i, Solid(32, 32, colour)));
        ASSERT_TRUE(frames.back());
    }
    platform::Image& red = *frames[4];
    red.Handle({0.5f, 0.5f});
    const float scales[] = {1.0f, 0.7f, 0.45f, 0.2f, 0.09f, 0.03f};
    const float turns[] = {0.0f, 0.4f, 2.3f};
    for (const float scale : scales) {
        for (const float turn : turns) {
            SCOPED_TRACE("scale " + std::to_string(scale) + ", turn " + std::to_string(turn));
            auto target = testsupport::MakeTarget(64, 64);
            // Off the pixel centres, so that the filter reaches across the edge.
            target.canvas->DrawImage(red, 31.3f, 32.6f, turn, scale, scale);
            const auto pixels = target.canvas->CopyPixmap({0, 0, 64, 64});
            ASSERT_TRUE(pixels);
            int reddest = 0;
            for (int y = 0; y < 64; ++y) {
                for (int x = 0; x < 64; ++x) {
                    const std::uint32_t p = pixels->GetPixelARGB(x, y);
                    reddest = std::max(reddest, static_cast<int>((p >> 16) & 0xFF));
                    ASSERT_EQ(p & 0xFFFFu, 0u) << "green or blue at " << x << "," << y << ": " << testsupport::Describe(p);
                }
            }
            EXPECT_GT(reddest, 100) << "the frame was drawn";
        }
    }
}

TEST(AtlasBuilder, ASlotFilledAfterThePageWasDrawnShowsItsPixels) {
    testsupport::App();
    AtlasBuilder atlas(Repeat({8, 8}, 2), 0, 64, 0);
    const auto first = atlas.Place(0, Solid(8, 8, 0xFFFF0000u));
    ASSERT_TRUE(first);
    auto target = testsupport::MakeTarget(16, 8);
    target.canvas->DrawImage(*first, 0, 0);
    EXPECT_TRUE(testsupport::Near(target.Pixel(4, 4), {1, 0, 0, 1}));
    ASSERT_TRUE(atlas.Pages()[0]->GetTexture()->Uploaded());

    const auto second = atlas.Place(1, Solid(8, 8, 0xFF0000FFu));
    ASSERT_TRUE(second);
    target.canvas->DrawImage(*second, 8, 0);
    EXPECT_TRUE(testsupport::Near(target.Pixel(12, 4), {0, 0, 1, 1})) << testsupport::Describe(target.Pixel(12, 4));
    EXPECT_TRUE(testsupport::Near(target.Pixel(4, 4), {1, 0, 0, 1}));
}
