// The sprite atlas: frame sizes read from PNG headers, animations and their
// flash sets sharing pages with their pixels intact, and the frames that get
// no slot (a file missing or changed after the layout) still loading.
#include "zandrovia/spriteatlas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/files.h"
#include "platform/image.h"
#include "zandrovia/loader.h"
#include "support/testsupport.h"

namespace {

// The pixel (x, y) of a frame, read from its texture's pixels through its rectangle.
std::uint32_t FramePixel(const platform::Image& frame, int x, int y) {
    const auto& pixels = frame.GetTexture()->GetPixmap();
    return pixels ? pixels->GetPixelARGB(frame.Rect().min.x + x, frame.Rect().min.y + y) : 0xDEADBEEFu;
}

// Frame i of an animation: (i + 2) × 3 pixels, transparent but for a pixel
// whose colour names the frame and the animation.
std::uint32_t Mark(int animation, int i) { return 0xFF000000u | static_cast<std::uint32_t>(animation << 16 | i); }

void WriteAnimation(const std::string& path, int animation, int count) {
    for (int i = 0; i < count; ++i) {
        platform::Pixmap pixmap(i + 2, 3);
        pixmap.SetPixelARGB(i + 1, 2, Mark(animation, i));
        ASSERT_TRUE(pixmap.Save(AnimationFramePath(path, i)));
    }
}

}  // namespace

TEST(SpriteAtlas, PngSizeReadsTheHeaderOrGivesNothing) {
    const std::string dir = testsupport::TempDir();
    ASSERT_TRUE(platform::Pixmap(7, 3).Save(dir + "seven.png"));
    const std::string png = platform::LoadString(dir + "seven.png");
    ASSERT_TRUE(platform::SaveString(png.substr(0, 20), dir + "cut.png"));
    ASSERT_TRUE(platform::SaveString("not a picture at all, but long enough", dir + "text.png"));
    std::string huge = png.substr(0, 24);
    huge[16] = '\x80';  // a width beyond what PNG allows
    ASSERT_TRUE(platform::SaveString(huge, dir + "huge.png"));
    const struct {
        const char* file;
        platform::Vec2i size;
    } cases[] = {
        {"seven.png", {7, 3}}, {"cut.png", {0, 0}}, {"text.png", {0, 0}}, {"huge.png", {0, 3}}, {"missing.png", {0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(PngSize(dir + c.file), c.size) << c.file;
}

TEST(SpriteAtlas, AnimationsAndTheirFlashSetsShareAPageAndKeepTheirPixels) {
    const std::string first = testsupport::TempDir() + "frame.png";
    const std::string second = testsupport::TempDir() + "frame.png";
    WriteAnimation(first, 1, 5);
    WriteAnimation(second, 2, 3);
    SpriteAtlas atlas({{first, 5, true}, {second, 3, false}});
    ASSERT_EQ(atlas.Pages().size(), 1u);
    const auto a = atlas.Frames(0, {0, 0, 0, 0});
    const auto b = atlas.Frames(1, {0, 0, 0, 0});
    const auto flash = atlas.Flash(0, a, {1, 1, 1, 1});
    ASSERT_TRUE(a && b && flash);
    ASSERT_EQ(a->size(), 5u);
    ASSERT_EQ(b->size(), 3u);
    ASSERT_EQ(flash->size(), 5u);
    const auto& page = atlas.Pages()[0]->GetTexture();
    const struct {
        const kestrum::scenegraph::ImageArray& set;
        int animation;
        bool white;
    } sets[] = {{a, 1, false}, {b, 2, false}, {flash, 1, true}};
    for (const auto& [set, animation, white] : sets) {
        for (int i = 0; i < static_cast<int>(set->size()); ++i) {
            SCOPED_TRACE("animation " + std::to_string(animation) + (white ? " flash" : "") + " frame " +
                         std::to_string(i));
            const auto& frame = (*set)[static_cast<std::size_t>(i)];
            ASSERT_TRUE(frame);
            EXPECT_EQ(frame->GetTexture(), page);
            EXPECT_EQ(frame->Width(), i + 2);
            EXPECT_EQ(frame->Height(), 3);
            EXPECT_EQ(frame->Handle(), (platform::Vec2f{0.5f, 0.5f}));
            for (int y = 0; y < 3; ++y) {
                for (int x = 0; x < i + 2; ++x) {
                    const bool marked = x == i + 1 && y == 2;
                    const std::uint32_t expected = !marked ? 0u : white ? 0xFFFFFFFFu : Mark(animation, i);
                    ASSERT_EQ(FramePixel(*frame, x, y), expected) << x << "," << y;
                }
            }
        }
    }
    // Each slot is used once: no two frames share a rectangle.
    std::vector<platform::Recti> rects;
    for (const auto& set : {a, b, flash}) {
        for (const auto& frame : *set) {
            for (const auto& other : rects) EXPECT_FALSE(other == frame->Rect());
            rects.push_back(frame->Rect());
        }
    }
    // Without flash slots the flash set is made all the same, from the frames' pixels.
    const auto bFlash = atlas.Flash(1, b, {1, 1, 1, 1});
    ASSERT_TRUE(bFlash && (*bFlash)[2]);
    EXPECT_EQ(FramePixel(*(*bFlash)[2], 3, 2), 0xFFFFFFFFu);
    EXPECT_FALSE(atlas.Frames(2, {0, 0, 0, 0})) << "no such animation";
}

TEST(SpriteAtlas, FramesWithoutASlotStillLoadAndMissingOnesAreReportedInOrder) {
    const std::string dir = testsupport::TempDir();
    const std::string path = dir + "frame.png";
    WriteAnimation(path, 3, 4);
    ASSERT_TRUE(platform::DeleteFile(AnimationFramePath(path, 1)));
    ASSERT_TRUE(platform::DeleteFile(AnimationFramePath(path, 2)));
    SpriteAtlas atlas({{path, 4, true}});
    ASSERT_TRUE(atlas.Prepare());
    // After the layout frame 1 comes back and frame 3 grows: neither fits a slot.
    platform::Pixmap one(3, 3);
    one.SetPixelARGB(2, 2, Mark(3, 1));
    ASSERT_TRUE(one.Save(AnimationFramePath(path, 1)));
    platform::Pixmap three(9, 9);
    three.SetPixelARGB(4, 2, Mark(3, 3));
    ASSERT_TRUE(three.Save(AnimationFramePath(path, 3)));

    testing::internal::CaptureStdout();
    const auto frames = atlas.Frames(0, {0, 0, 0, 0});
    const auto flash = atlas.Flash(0, frames, {1, 1, 1, 1});
    const std::string missing = "Image not found: " + AnimationFramePath(path, 2) + "\n";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), missing + missing) << "once for the frame, once for its flash";
    ASSERT_TRUE(frames && flash);
    const auto& page = atlas.Pages()[0]->GetTexture();
    EXPECT_EQ((*frames)[0]->GetTexture(), page);
    EXPECT_EQ((*flash)[0]->GetTexture(), page);
    EXPECT_FALSE((*frames)[2]);
    EXPECT_FALSE((*flash)[2]);
    for (const std::size_t i : {std::size_t{1}, std::size_t{3}}) {
        SCOPED_TRACE(i);
        ASSERT_TRUE((*frames)[i] && (*flash)[i]);
        EXPECT_NE((*frames)[i]->GetTexture(), page);
        EXPECT_EQ((*frames)[i]->Handle(), (platform::Vec2f{0.5f, 0.5f}));
        EXPECT_EQ((*flash)[i]->Handle(), (platform::Vec2f{0.5f, 0.5f}));
    }
    EXPECT_EQ((*frames)[1]->Width(), 3);
    EXPECT_EQ(FramePixel(*(*frames)[1], 2, 2), Mark(3, 1));
    EXPECT_EQ(FramePixel(*(*flash)[1], 2, 2), 0xFFFFFFFFu);
    EXPECT_EQ((*frames)[3]->Width(), 9);
    EXPECT_EQ(FramePixel(*(*frames)[3], 4, 2), Mark(3, 3));
    EXPECT_EQ(FramePixel(*(*flash)[3], 4, 2), 0xFFFFFFFFu);
    EXPECT_EQ(FramePixel(*(*flash)[3], 4, 3), 0u);

    // Frames that do not match the count: every flash frame comes from its file.
    const auto fromFiles = atlas.Flash(0, nullptr, {1, 1, 1, 1});
    ASSERT_TRUE(fromFiles && (*fromFiles)[0]);
    EXPECT_EQ(FramePixel(*(*fromFiles)[0], 1, 2), 0xFFFFFFFFu);
}

TEST(SpriteAtlas, SinglePicturesLoadFromTheirOwnPathOntoThePage) {
    const std::string dir = testsupport::TempDir();
    WriteAnimation(dir + "frame.png", 4, 2);
    platform::Pixmap foot(5, 3);
    foot.SetPixelARGB(4, 2, Mark(5, 0));
    ASSERT_TRUE(foot.Save(dir + "foot.png"));
    SpriteAtlas atlas({{dir + "frame.png", 2, false}, {dir + "foot.png", 1, false, true},
                       {dir + "gone.png", 1, false, true}});
    const auto frames = atlas.Frames(0, {0, 0, 0, 0});
    const auto single = atlas.Frames(1, {0, 0, 0, 0});
    ASSERT_TRUE(frames && single);
    ASSERT_EQ(single->size(), 1u);
    ASSERT_TRUE(single->front());
    EXPECT_EQ(single->front()->GetTexture(), (*frames)[0]->GetTexture());
    EXPECT_EQ(single->front()->Width(), 5);
    EXPECT_EQ(FramePixel(*single->front(), 4, 2), Mark(5, 0));

    testing::internal::CaptureStdout();
    const auto gone = atlas.Frames(2, {0, 0, 0, 0});
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Image not found: " + dir + "gone.png\n");
    ASSERT_TRUE(gone);
    EXPECT_FALSE(gone->front());
}

TEST(SpriteAtlas, PreparedAFewAnimationsAtATimeItLaysThePagesOutAsAtOnce) {
    std::vector<SpriteAtlas::Animation> animations;
    for (int a = 0; a < 3; ++a) {
        const std::string path = testsupport::TempDir() + "frame.png";
        WriteAnimation(path, a, 3 + a);
        animations.push_back({path, 3 + a, a != 1});
    }
    SpriteAtlas stepwise(animations);
    SpriteAtlas whole(animations);
    EXPECT_FALSE(stepwise.Prepare(1));
    EXPECT_FALSE(stepwise.Prepare(1));
    EXPECT_TRUE(stepwise.Prepare(2));
    EXPECT_TRUE(stepwise.Prepare(1));
    ASSERT_EQ(stepwise.Pages().size(), whole.Pages().size());
    EXPECT_EQ(stepwise.Pages()[0]->Rect(), whole.Pages()[0]->Rect());
    for (std::size_t a = 0; a < animations.size(); ++a) {
        const auto one = stepwise.Frames(a, {0, 0, 0, 0});
        const auto other = whole.Frames(a, {0, 0, 0, 0});
        const auto oneFlash = stepwise.Flash(a, one, {1, 1, 1, 1});
        const auto otherFlash = whole.Flash(a, other, {1, 1, 1, 1});
        for (std::size_t i = 0; i < one->size(); ++i) {
            EXPECT_EQ((*one)[i]->Rect(), (*other)[i]->Rect()) << a << ", " << i;
            EXPECT_EQ((*oneFlash)[i]->Rect(), (*otherFlash)[i]->Rect()) << a << ", " << i;
            EXPECT_EQ((*one)[i]->GetTexture(), stepwise.Pages()[0]->GetTexture());
        }
    }
}
