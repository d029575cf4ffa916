#include "kestrum-framework/texturepacker.h"

#include <gtest/gtest.h>

#include <memory>

using kestrum::framework::TexturePacker;

namespace {

std::shared_ptr<platform::Image> Atlas() {
    return std::make_shared<platform::Image>(std::make_shared<platform::Pixmap>(128, 128));
}

}  // namespace

TEST(TexturePackerTest, GrabsOneImagePerCountingLine) {
    const auto atlas = Atlas();
    const auto before = std::make_shared<platform::Image>(*atlas, platform::Recti(0, 0, 1, 1));
    const std::string text =
        "ship:0:64:32:32\n"
        "\n"
        "# a comment line\n"
        "short:1:2:3\n"
        "long:1:2:3:4:5\n"
        "rock:12px:8:16:16\r\n"  // leading digits count; the CR is harmless
        "odd:x:0:10:12";         // no number reads as 0
    const auto images = TexturePacker::GrabImages(atlas, text, {before});
    ASSERT_EQ(images.size(), 4u);
    EXPECT_EQ(images[0], before);
    EXPECT_EQ(images[1]->Rect(), platform::Recti(0, 64, 32, 96));
    EXPECT_EQ(images[2]->Rect(), platform::Recti(12, 8, 28, 24));
    EXPECT_EQ(images[3]->Rect(), platform::Recti(0, 0, 10, 12));
    // Sub-images share the atlas's texture: nothing is copied.
    EXPECT_EQ(images[1]->GetTexture(), atlas->GetTexture());

    EXPECT_TRUE(TexturePacker::GrabImages(atlas, "").empty());
    EXPECT_EQ(TexturePacker::GrabImages(nullptr, "a:0:0:1:1", {before}).size(), 1u);
}

TEST(TexturePackerTest, GrabsTheFirstLineWhoseNameStartsWithTheRequest) {
    const auto atlas = Atlas();
    const std::string shortFirst = "ship:0:0:16:16\nshipbig:16:0:32:32";
    const std::string longFirst = "shipbig:16:0:32:32\nship:0:0:16:16";
    struct Case {
        const std::string* text;
        const char* name;
        int width;  // 0: no image
    };
    const Case cases[] = {
        {&shortFirst, "ship", 16},
        {&shortFirst, "shipbig", 32},
        {&longFirst, "ship", 32},   // a prefix also matches a longer name
        {&shortFirst, "boat", 0},
    };
    for (const auto& c : cases) {
        const auto image = TexturePacker::GrabImage(atlas, *c.text, c.name);
        if (c.width == 0) {
            EXPECT_EQ(image, nullptr) << c.name;
        } else {
            ASSERT_NE(image, nullptr) << c.name;
            EXPECT_EQ(image->Width(), c.width) << c.name;
        }
    }
    // A matching line with the wrong number of fields is passed over.
    const auto image = TexturePacker::GrabImage(atlas, "hero:0:0:8\nhero:8:0:32:48", "hero");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Rect(), platform::Recti(8, 0, 40, 48));
    EXPECT_EQ(TexturePacker::GrabImage(atlas, "", "hero"), nullptr);
    EXPECT_EQ(TexturePacker::GrabImage(nullptr, "hero:0:0:1:1", "hero"), nullptr);
}

TEST(TexturePackerTest, RectanglesNearTheIntLimitsAreClippedNotWrapped) {
    const auto atlas = Atlas();  // 128 × 128
    struct Case {
        const char* line;
        platform::Recti rect;  // of the sub-image, clipped to the atlas
    };
    const Case cases[] = {
        {"far:2147483647:0:17:1", {128, 0, 128, 1}},
        {"wide:100:100:2147483647:2147483647", {100, 100, 128, 128}},
        {"low:-2147483648:0:-1:1", {0, 0, 0, 1}},
        {"back:5:5:-2147483648:4", {5, 5, 5, 9}},
    };
    for (const auto& c : cases) {
        const auto entry = TexturePacker::ReadEntry(c.line);
        ASSERT_TRUE(entry) << c.line;
        const auto images = TexturePacker::GrabImages(atlas, c.line);
        ASSERT_EQ(images.size(), 1u) << c.line;
        EXPECT_EQ(images[0]->Rect(), c.rect) << c.line;
    }
    EXPECT_EQ(TexturePacker::ReadEntry("far:2147483647:0:17:1")->Rect, platform::Recti(2147483647, 0, 2147483647, 1));
    EXPECT_FALSE(TexturePacker::ReadEntry("short:1:2:3"));
}
