// The batch renderer's vertex streaming: a frame flushed thousands of times
// (every sprite its own batch, the vertex ring wrapping more than once) must
// look exactly like the same sprites drawn in one batch.
#include "platform/renderer.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/canvas.h"
#include "platform/clock.h"
#include "support/testsupport.h"

namespace {

using platform::Color;
using platform::Image;
using platform::Pixmap;

constexpr int kWidth = 96;
constexpr int kHeight = 64;
constexpr int kSprite = 6;

// A half-transparent sprite with a colour gradient, so that drawing order
// and the texture it comes from show in the pixels.
void PaintSprite(Pixmap& pixmap, int left, Color tint) {
    for (int y = 0; y < kSprite; ++y) {
        for (int x = 0; x < kSprite; ++x) {
            pixmap.SetPixel(left + x, y, {tint.r * (x + 1) / kSprite, tint.g, tint.b * (y + 1) / kSprite, 0.6f});
        }
    }
}

struct Sprite {
    int texture;  // 0 or 1
    float x, y;
};

// Draws the sprites into a new target and reads the whole frame back.
std::shared_ptr<Pixmap> DrawFrame(const std::vector<Sprite>& sprites, const Image* images[2], int* drawCalls) {
    auto target = testsupport::MakeTarget(kWidth, kHeight, {0.1f, 0.2f, 0.3f, 1});
    target.canvas->ResetDrawCalls();
    for (const Sprite& s : sprites) target.canvas->DrawImage(*images[s.texture], s.x, s.y);
    auto pixels = target.canvas->CopyPixmap({0, 0, kWidth, kHeight});
    *drawCalls = target.canvas->DrawCalls();
    return pixels;
}

}  // namespace

TEST(Renderer, AFrameOfManyFlushesLooksExactlyLikeOneBatch) {
    testsupport::App();
    // The same two sprites as two textures, and side by side in one atlas.
    auto first = std::make_shared<Pixmap>(kSprite, kSprite);
    auto second = std::make_shared<Pixmap>(kSprite, kSprite);
    auto atlas = std::make_shared<Pixmap>(2 * kSprite, kSprite);
    PaintSprite(*first, 0, {1, 0.3f, 0.2f, 1});
    PaintSprite(*second, 0, {0.1f, 0.9f, 1, 1});
    PaintSprite(*atlas, 0, {1, 0.3f, 0.2f, 1});
    PaintSprite(*atlas, kSprite, {0.1f, 0.9f, 1, 1});
    const Image firstImage(first, 0), secondImage(second, 0);
    const Image atlasImage(atlas, 0);
    const Image firstInAtlas(atlasImage, {0, 0, kSprite, kSprite});
    const Image secondInAtlas(atlasImage, {kSprite, 0, 2 * kSprite, kSprite});

    // A long run of one texture, then every sprite its own batch: more
    // vertices than the ring holds, so it wraps while batches are in flight.
    platform::ResetRnd();
    std::vector<Sprite> sprites;
    const auto place = [&](int texture) {
        sprites.push_back({texture, float(int(platform::Rnd(-2, kWidth - 4))), float(int(platform::Rnd(-2, kHeight - 4)))});
    };
    for (int k = 0; k < 12000; ++k) place(0);
    for (int k = 0; k < 6000; ++k) place(k % 2);

    const Image* separate[2] = {&firstImage, &secondImage};
    const Image* together[2] = {&firstInAtlas, &secondInAtlas};
    int flushedCalls = 0, batchedCalls = 0;
    const auto flushed = DrawFrame(sprites, separate, &flushedCalls);
    const auto batched = DrawFrame(sprites, together, &batchedCalls);
    EXPECT_EQ(flushedCalls, 6000) << "the long run and then one batch per sprite";
    EXPECT_EQ(batchedCalls, 2) << "18,000 quads are two batches at most";
    int differing = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (flushed->GetPixelARGB(x, y) != batched->GetPixelARGB(x, y) && differing++ < 5) {
                ADD_FAILURE() << "at " << x << "," << y << ": " << testsupport::Describe(flushed->GetPixelARGB(x, y))
                              << " flushed, " << testsupport::Describe(batched->GetPixelARGB(x, y)) << " batched";
            }
        }
    }
    EXPECT_EQ(differing, 0);

    // The sprites cover most of the frame.
    int unused = 0;
    const std::uint32_t background = DrawFrame({}, separate, &unused)->GetPixelARGB(0, 0);
    int covered = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) covered += flushed->GetPixelARGB(x, y) != background;
    }
    EXPECT_GT(covered, kWidth * kHeight * 9 / 10);
}
