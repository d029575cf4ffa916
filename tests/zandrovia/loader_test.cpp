// The loader's asset loaders: numbered frame paths, missing frames (plain
// and tinted), the white silhouettes of the hit-flash frames and particle
// files.
#include "zandrovia/loader.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/image.h"
#include "zandrovia/pooledemitter.h"
#include "support/testsupport.h"

namespace {

// A 4 × 4 frame: transparent except an opaque red pixel and a faint one.
void WriteFrame(const std::string& path) {
    platform::Pixmap pixmap(4, 4);
    pixmap.SetPixelARGB(1, 1, 0xFFFF0000u);
    pixmap.SetPixelARGB(2, 3, 0x10203040u);
    ASSERT_TRUE(pixmap.Save(path));
}

}  // namespace

TEST(LoadAnimation, FramePathsTakeTheNumberBeforeTheExtension) {
    const struct {
        const char* path;
        int index;
        const char* framePath;
    } cases[] = {
        {"asset::sprites/cargo/frame.png", 0, "asset::sprites/cargo/frame0000.png"},
        {"asset::sprites/cargo/frame.png", 19, "asset::sprites/cargo/frame0019.png"},
        {"asset::sprites/spider/frame.png", 65, "asset::sprites/spider/frame0065.png"},
        {"/home/u/.local/game.v2/frame.png", 7, "/home/u/.local/game.v2/frame0007.png"},
        {"frames/frame", 3, "frames/frame0003"},
    };
    for (const auto& c : cases) EXPECT_EQ(AnimationFramePath(c.path, c.index), c.framePath);
}

TEST(LoadAnimation, MissingFrameIsReportedAndLoadingGoesOn) {
    const std::string dir = testsupport::TempDir();
    WriteFrame(dir + "frame0000.png");
    WriteFrame(dir + "frame0002.png");
    for (const platform::Color tint : {platform::Color{0, 0, 0, 0}, platform::Color{1, 1, 1, 1}}) {
        testing::internal::CaptureStdout();
        const auto frames = LoadAnimation(dir + "frame.png", 3, tint);
        const std::string output = testing::internal::GetCapturedStdout();
        ASSERT_TRUE(frames);
        ASSERT_EQ(frames->size(), 3u);
        EXPECT_TRUE((*frames)[0]);
        EXPECT_FALSE((*frames)[1]);
        EXPECT_TRUE((*frames)[2]);
        EXPECT_EQ(output, "Image not found: " + dir + "frame0001.png\n") << "tint alpha " << tint.a;
        EXPECT_EQ((*frames)[2]->Handle(), (platform::Vec2f{0.5f, 0.5f}));
    }
    EXPECT_FALSE(LoadAnimation(dir + "frame.png", 0, {0, 0, 0, 0}));
}

TEST(LoadAnimation, ManyFramesKeepTheirOrderAndMissingOnesAreReportedInOrder) {
    // Enough frames that they are decoded on several threads: each frame is
    // told apart by its width, and the misses must still print in frame order.
    const std::string dir = testsupport::TempDir();
    constexpr int count = 40;
    const auto missing = [](int i) { return i == 0 || i == 7 || i == 8 || i == 31 || i == count - 1; };
    std::string expected;
    for (int i = 0; i < count; ++i) {
        const std::string path = AnimationFramePath(dir + "frame.png", i);
        if (missing(i)) {
            expected += "Image not found: " + path + "\n";
            continue;
        }
        platform::Pixmap pixmap(i + 1, 2);
        pixmap.SetPixelARGB(i, 1, 0xFF00FF00u);
        ASSERT_TRUE(pixmap.Save(path));
    }
    for (const platform::Color tint : {platform::Color{0, 0, 0, 0}, platform::Color{1, 1, 1, 1}}) {
        testing::internal::CaptureStdout();
        const auto frames = LoadAnimation(dir + "frame.png", count, tint);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), expected) << "tint alpha " << tint.a;
        ASSERT_TRUE(frames);
        ASSERT_EQ(frames->size(), static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            const platform::ImagePtr& frame = (*frames)[static_cast<std::size_t>(i)];
            ASSERT_EQ(static_cast<bool>(frame), !missing(i)) << i;
            if (!frame) continue;
            EXPECT_EQ(frame->Width(), i + 1);
            const auto pixels = frame->GetTexture()->GetPixmap();
            ASSERT_TRUE(pixels);
            EXPECT_EQ(pixels->GetPixelARGB(i, 1), tint.a > 0 ? 0xFFFFFFFFu : 0xFF00FF00u) << i;
        }
    }
}

TEST(LoadAnimation, TintedFramesAreSilhouettesOfTheTint) {
    const std::string dir = testsupport::TempDir();
    WriteFrame(dir + "frame0000.png");
    const auto frames = LoadAnimation(dir + "frame.png", 1, {1, 1, 1, 1});
    ASSERT_TRUE(frames && (*frames)[0]);
    const auto pixels = (*frames)[0]->GetTexture()->GetPixmap();
    ASSERT_TRUE(pixels);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const bool covered = (x == 1 && y == 1) || (x == 2 && y == 3);
            EXPECT_EQ(pixels->GetPixelARGB(x, y), covered ? 0xFFFFFFFFu : 0u) << x << "," << y;
        }
    }
}

TEST(LoadImage, CentresTheHandleOrReportsTheMissingFile) {
    const std::string dir = testsupport::TempDir();
    WriteFrame(dir + "one.png");
    const platform::ImagePtr image = LoadImage(dir + "one.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Handle(), (platform::Vec2f{0.5f, 0.5f}));

    testing::internal::CaptureStdout();
    EXPECT_FALSE(LoadImage(dir + "two.png"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Image not found: " + dir + "two.png\n");
}

TEST(LoadEmitter, ReadsTheEffectOrReportsTheMissingFile) {
    const std::string dir = testsupport::TempDir();
    ASSERT_TRUE(platform::SaveString("particles=4\n\nparticles=2", dir + "burst.txt"));
    testing::internal::CaptureStdout();
    const auto burst = LoadEmitter(dir + "burst.txt");
    const auto missing = LoadEmitter(dir + "missing.txt");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Particle file not found: " + dir + "missing.txt\n");
    ASSERT_TRUE(burst);
    EXPECT_EQ(burst->Caches.size(), 2u);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->Caches.size(), 1u) << "an effect of defaults, which emits nothing";
}
