// The ghosted sprite: frame choice, flips, measuring, and the hit flash
// drawn for GhostCount draws (read back from an offscreen target).
#include "zandrovia/ghostedsprite.h"

#include <gtest/gtest.h>

#include "support/testsupport.h"

namespace {

using ImageArray = GhostedSprite::ImageArray;

platform::ImagePtr Solid(int width, int height, std::uint32_t argb) {
    auto pixmap = std::make_shared<platform::Pixmap>(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixmap->SetPixelARGB(x, y, argb);
    }
    auto image = std::make_shared<platform::Image>(pixmap, 0);
    image->Handle({0.5f, 0.5f});
    return image;
}

ImageArray Set(std::vector<platform::ImagePtr> images) {
    return std::make_shared<std::vector<platform::ImagePtr>>(std::move(images));
}

}  // namespace

TEST(GhostedSprite, FrameIndexWrapsEachSetByItsOwnLength) {
    const struct {
        float frame;
        int count;
        int index;
    } cases[] = {{0, 16, 0}, {17.5f, 16, 1}, {15.99f, 16, 15}, {5, 4, 1}, {3, 0, 0}, {-1, 4, 3}};
    for (const auto& c : cases) EXPECT_EQ(GhostedSprite::FrameIndex(c.frame, c.count), c.index) << c.frame;

    GhostedSprite sprite;
    EXPECT_EQ(sprite.Frames(), 0);
    EXPECT_EQ(sprite.LastFrame(), -1);
    EXPECT_EQ(sprite.LastGhostFrame(), -1);
    EXPECT_FALSE(sprite.Image());
    EXPECT_EQ(sprite.Width(), 0);

    std::vector<platform::ImagePtr> frames;
    for (int i = 0; i < 16; ++i) frames.push_back(Solid(10 + i, 20 + i, 0xFFFF0000u));
    sprite.Images(Set(frames));
    sprite.GhostImages = Set({frames[0], frames[1], frames[2], frames[3]});
    sprite.Frame = 5;
    EXPECT_EQ(sprite.Image(), frames[5]);
    EXPECT_EQ(sprite.GhostImage(), frames[1]);
    EXPECT_EQ(sprite.GhostFrames(), 4);
    // Measured from the current frame, ignoring every scale and flip.
    sprite.Scale = 3;
    sprite.ScaleX(2);
    sprite.FlippedX(-1);
    EXPECT_EQ(sprite.Width(), 15);
    EXPECT_EQ(sprite.Height(), 25);
}

TEST(GhostedSprite, FlipSetterKeepsOnlyTheSign) {
    GhostedSprite sprite;
    sprite.FlippedX(-5);
    EXPECT_EQ(sprite.FlippedX(), -1);
    sprite.FlippedX(0);
    EXPECT_EQ(sprite.FlippedX(), -1);
    sprite.FlippedX(9);
    EXPECT_EQ(sprite.FlippedX(), 1);
    sprite.FlippedY(-2);
    EXPECT_EQ(sprite.FlippedY(), -1);
}

TEST(GhostedSprite, HitFlashShowsGhostForGhostCountDraws) {
    testsupport::App();
    GhostedSprite sprite;
    sprite.Images(Set({Solid(8, 8, 0xFFFF0000u)}));
    sprite.GhostImages = Set({Solid(8, 8, 0xFFFFFFFFu)});
    sprite.GhostColor = {0, 0, 1, 1};
    sprite.Location({16, 16});
    sprite.GhostCount = 3;
    for (int draw = 0; draw < 4; ++draw) {
        testsupport::Target target = testsupport::MakeTarget(32, 32);
        sprite.Draw(*target.canvas);
        // Ghost mode draws the white ghost image in the ghost colour (blue).
        const platform::Color expected = draw < 3 ? platform::Color{0, 0, 1, 1} : platform::Color{1, 0, 0, 1};
        EXPECT_TRUE(testsupport::Near(target.Pixel(16, 16), expected)) << draw << " "
                                                                     << testsupport::Describe(target.Pixel(16, 16));
    }
    EXPECT_EQ(sprite.GhostCount, 0);
}

TEST(GhostedSprite, DrawsScaledMirroredAndNothingForAMissingFrame) {
    testsupport::App();
    GhostedSprite sprite;
    // Left half red, right half green, so a mirror shows.
    auto pixmap = std::make_shared<platform::Pixmap>(8, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) pixmap->SetPixelARGB(x, y, x < 4 ? 0xFFFF0000u : 0xFF00FF00u);
    }
    auto image = std::make_shared<platform::Image>(pixmap, 0);
    sprite.Images(Set({image}));
    sprite.Location({32, 16});
    sprite.Scale = 1.5f;
    sprite.ScaleX(2);
    sprite.FlippedX(-1);
    testsupport::Target target = testsupport::MakeTarget(64, 32);
    sprite.Draw(*target.canvas);
    // 8 × 3 = 24 wide about the centre: x 20 to 44, mirrored (green on the left).
    EXPECT_TRUE(testsupport::Near(target.Pixel(22, 16), {0, 1, 0, 1})) << testsupport::Describe(target.Pixel(22, 16));
    EXPECT_TRUE(testsupport::Near(target.Pixel(42, 16), {1, 0, 0, 1})) << testsupport::Describe(target.Pixel(42, 16));
    EXPECT_TRUE(testsupport::Near(target.Pixel(18, 16), {0, 0, 0, 1}));
    EXPECT_TRUE(testsupport::Near(target.Pixel(46, 16), {0, 0, 0, 1}));

    // A frame that failed to load is null: nothing is drawn, and a flash still counts down.
    GhostedSprite broken;
    broken.Images(Set({nullptr}));
    broken.GhostImages = Set({nullptr});
    broken.Location({32, 16});
    broken.GhostCount = 1;
    testsupport::Target empty = testsupport::MakeTarget(64, 32);
    broken.Draw(*empty.canvas);
    broken.Draw(*empty.canvas);
    EXPECT_EQ(broken.GhostCount, 0);
    EXPECT_TRUE(testsupport::Near(empty.Pixel(32, 16), {0, 0, 0, 1}));
}
