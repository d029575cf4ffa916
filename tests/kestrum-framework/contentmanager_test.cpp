#include "kestrum-framework/contentmanager.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include <gtest/gtest.h>

#include "kestrum-framework/config.h"
#include "platform/files.h"
#include "platform/image.h"
#include "support/testsupport.h"

namespace fw = kestrum::framework;
using platform::Shader;

namespace {

std::string FontFile() { return testsupport::AssetsDir() + "kestrum-framework/fonts/arial.ttf"; }

// A private assets folder for each test, so files can be added and removed
// behind the cache's back.
class ContentManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testsupport::TempDir();
        platform::SetAssetsDir(dir_);
    }
    void TearDown() override {
        platform::SetAssetsDir("");
        // The cache goes first: it holds its fonts' files open, and an open
        // file cannot be deleted on every system (on Windows the folder's
        // removal then never ends).
        content_.reset();
        std::error_code error;
        std::filesystem::remove_all(dir_, error);
        EXPECT_FALSE(error) << error.message();
    }

    std::string File(const std::string& relative) const {
        const std::filesystem::path path = dir_ + relative;
        std::filesystem::create_directories(path.parent_path());
        return path.string();
    }
    void WriteImage(const std::string& relative, int width, int height) const {
        platform::Pixmap pixmap(width, height);
        pixmap.Clear(platform::Color::White());
        ASSERT_TRUE(pixmap.Save(File(relative)));
    }
    void CopyIn(const std::string& from, const std::string& relative) const {
        std::filesystem::copy_file(from, File(relative), std::filesystem::copy_options::overwrite_existing);
    }
    void Remove(const std::string& relative) const { std::filesystem::remove(dir_ + relative); }

    std::string dir_;
    std::unique_ptr<fw::ContentManager> content_ = std::make_unique<fw::ContentManager>();
};

}  // namespace

TEST_F(ContentManagerTest, SecondRequestReturnsTheSameObjectWithoutTouchingTheDisk) {
    WriteImage("sprites/ship.png", 4, 2);
    const auto first = content_->GetImage("sprites/ship.png", nullptr, 12);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Width(), 4);
    Remove("sprites/ship.png");
    EXPECT_EQ(content_->GetImage("sprites/ship.png", nullptr, 12), first);
    EXPECT_EQ(content_->ImageCount, 1);
    EXPECT_EQ(content_->ImagePath(first), "sprites/ship.png");
}

TEST_F(ContentManagerTest, KeysArePathsAsWrittenWithShaderAndFlags) {
    WriteImage("sprites/ship.png", 4, 2);
    const auto plain = content_->GetImage("sprites/ship.png", nullptr, 12);
    ASSERT_TRUE(plain);
    // A null shader stands for the "sprite" shader, in the key as well.
    EXPECT_EQ(content_->GetImage("sprites/ship.png", Shader::GetShader("sprite"), 12), plain);
    EXPECT_EQ(content_->ImageCount, 1);

    const auto prefixed = content_->GetImage("asset::sprites/ship.png", nullptr, 12);
    const auto backslashed = content_->GetImage("sprites\\ship.png", nullptr, 12);
    const auto unfiltered = content_->GetImage("sprites/ship.png", nullptr, 0);
    ASSERT_TRUE(prefixed && backslashed && unfiltered);
    EXPECT_NE(prefixed, plain);
    EXPECT_NE(backslashed, plain);
    EXPECT_NE(unfiltered, plain);
    EXPECT_EQ(unfiltered->GetTexture()->Flags(), 0);
    // Keys keep the case as written: another spelling is another entry, which
    // finds the file only where the file system ignores case (Windows).
    const bool ignoresCase = platform::GetFileType(dir_ + "Sprites/Ship.png") == platform::FileType::File;
    const auto otherCase = content_->GetImage("Sprites/Ship.png", nullptr, 12);
    EXPECT_NE(otherCase, plain);
    EXPECT_EQ(otherCase != nullptr, ignoresCase) << "the key is the path as written";
    EXPECT_EQ(content_->ImageCount, 5);
    EXPECT_EQ(content_->ImageAt(0), plain);
    EXPECT_EQ(content_->ImageAt(3), unfiltered);
}

TEST_F(ContentManagerTest, MissesAreRememberedAndNeverRetried) {
    EXPECT_EQ(content_->GetImage("sprites/late.png", nullptr, 12), nullptr);
    EXPECT_EQ(content_->GetSound("sfx/late.ogg"), nullptr);
    EXPECT_EQ(content_->GetString("texts/late.txt"), "");
    EXPECT_EQ(content_->GetLight("lights/late.png", nullptr, 12), nullptr);

    // The files appear afterwards: the cache keeps answering with its miss.
    WriteImage("sprites/late.png", 2, 2);
    WriteImage("lights/late.png", 2, 2);
    CopyIn(std::string(std::getenv("ZANDROVIA_TEST_DATA")) + "/sine.ogg", "sfx/late.ogg");
    ASSERT_TRUE(platform::SaveString("hello", File("texts/late.txt")));
    EXPECT_EQ(content_->GetImage("sprites/late.png", nullptr, 12), nullptr);
    EXPECT_EQ(content_->GetSound("sfx/late.ogg"), nullptr);
    EXPECT_EQ(content_->GetString("texts/late.txt"), "");
    EXPECT_EQ(content_->GetLight("lights/late.png", nullptr, 12), nullptr);
    EXPECT_EQ(content_->ImageCount + content_->SoundCount + content_->StringCount + content_->LightCount, 4);

    // A fresh cache does load them.
    fw::ContentManager fresh;
    EXPECT_TRUE(fresh.GetImage("sprites/late.png", nullptr, 12));
    EXPECT_TRUE(fresh.GetSound("sfx/late.ogg"));
    EXPECT_EQ(fresh.GetString("texts/late.txt"), "hello");
    EXPECT_EQ(fresh.GetString("texts/late.txt"), "hello");
    EXPECT_EQ(fresh.StringCount, 1);
}

TEST_F(ContentManagerTest, MissingFontPrintsItsResolvedPathOnce) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(content_->GetFont("fonts/none.ttf", 16, nullptr), nullptr);
    EXPECT_EQ(content_->GetFont("fonts/none.ttf", 16, nullptr), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "asset::fonts/none.ttf\n");
    EXPECT_EQ(content_->FontCount, 1);
}

TEST_F(ContentManagerTest, FontSizesMatchExactlyAndNaNNeverMatches) {
    CopyIn(FontFile(), "fonts/sans.ttf");
    const auto small = content_->GetFont("fonts/sans.ttf", 16, nullptr);
    const auto larger = content_->GetFont("fonts/sans.ttf", 16.5f, nullptr);
    ASSERT_TRUE(small && larger);
    EXPECT_NE(small, larger);
    EXPECT_EQ(content_->GetFont("fonts/sans.ttf", 16, Shader::GetShader("font")), small);
    EXPECT_EQ(content_->FontCount, 2);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    testing::internal::CaptureStdout();  // no font loads at a NaN size
    content_->GetFont("fonts/sans.ttf", nan, nullptr);
    content_->GetFont("fonts/sans.ttf", nan, nullptr);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(content_->FontCount, 4);
}

TEST_F(ContentManagerTest, BumpImagesAreKeyedByTheirMapsAndMayLackOptionalMaps) {
    WriteImage("scene/wall.png", 4, 4);
    WriteImage("scene/wall_n.png", 4, 4);
    // No normal or specular map: the empty paths must stay empty, not become the assets folder.
    const auto bare = content_->GetBump("scene/wall.png", "", "", 1, true, nullptr, 12);
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->NormalTexture(), nullptr);
    const auto normal = content_->GetBump("scene/wall.png", "scene/wall_n.png", "", 2, false, nullptr, 12);
    ASSERT_TRUE(normal);
    EXPECT_NE(normal, bare);
    EXPECT_TRUE(normal->NormalTexture());
    // Specularity, the flip and the flags are recorded but are not part of the key.
    EXPECT_EQ(content_->GetBump("scene/wall.png", "", "", 5, false, Shader::GetShader("bump"), 0), bare);
    EXPECT_EQ(content_->BumpCount, 2);
    EXPECT_EQ(content_->BumpAt(1), normal);
    EXPECT_EQ(content_->Bumps[1]->Specularity, 2);
    EXPECT_FALSE(content_->Bumps[1]->FlipNormalY);
    EXPECT_EQ(content_->GetBump("scene/wall.png", "scene/none.png", "", 1, true, nullptr, 12), nullptr);
}

TEST_F(ContentManagerTest, ConfigsAreSharedAndAMissingOneIsOneEmptyLine) {
    ASSERT_TRUE(platform::SaveString("speed=3\nname=\"Ada\"", File("data/settings.txt")));
    const auto settings = content_->GetConfig("data/settings.txt");
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->ReadInt("speed", 0), 3);
    EXPECT_EQ(content_->GetConfig("data/settings.txt"), settings);

    const auto missing = content_->GetConfig("data/none.txt");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->Lines(), 1);
    EXPECT_EQ(missing->Data[0], "");
    EXPECT_EQ(content_->GetConfig("data/none.txt"), missing);
    EXPECT_EQ(content_->ConfigAt(1), missing);
}

TEST_F(ContentManagerTest, EveryListGrowsToTwiceItsCountPlusTenBeforeTheRequestThatNeedsIt) {
    struct Kind {
        const char* name;
        std::function<void(fw::ContentManager&, const std::string&)> get;
        std::function<std::size_t(const fw::ContentManager&)> length;
        std::size_t initial, grown;
    };
    const std::vector<Kind> kinds = {
        {"images", [](auto& c, auto& p) { c.GetImage(p, nullptr, 12); }, [](auto& c) { return c.Images.size(); }, 64,
         138},
        {"configs", [](auto& c, auto& p) { c.GetConfig(p); }, [](auto& c) { return c.Configs.size(); }, 64, 138},
        {"sounds", [](auto& c, auto& p) { c.GetSound(p); }, [](auto& c) { return c.Sounds.size(); }, 32, 74},
        {"strings", [](auto& c, auto& p) { c.GetString(p); }, [](auto& c) { return c.Strings.size(); }, 32, 74},
        {"fonts", [](auto& c, auto& p) { c.GetFont(p, 10, nullptr); }, [](auto& c) { return c.Fonts.size(); }, 16,
         42},
        {"lights", [](auto& c, auto& p) { c.GetLight(p, nullptr, 12); }, [](auto& c) { return c.Lights.size(); }, 16,
         42},
        {"bumps", [](auto& c, auto& p) { c.GetBump(p, "", "", 1, true, nullptr, 12); },
         [](auto& c) { return c.Bumps.size(); }, 16, 42},
    };
    testing::internal::CaptureStdout();  // the missing fonts print their paths
    for (const Kind& kind : kinds) {
        fw::ContentManager content;
        EXPECT_EQ(kind.length(content), kind.initial) << kind.name;
        for (std::size_t i = 0; i < kind.initial; ++i) kind.get(content, "missing/" + std::to_string(i));
        EXPECT_EQ(kind.length(content), kind.initial) << kind.name << ": full, not yet grown";
        kind.get(content, "missing/0");  // a hit grows the full list as well
        EXPECT_EQ(kind.length(content), kind.grown) << kind.name;
    }
    testing::internal::GetCapturedStdout();

    // Growth keeps every record in place and fills the new slots.
    fw::ContentManager content;
    for (int i = 0; i < 139; ++i) content.GetString("missing/" + std::to_string(i));
    EXPECT_EQ(content.Strings.size(), 158u);
    EXPECT_EQ(content.Strings[73]->Path, "missing/73");
    for (const auto& record : content.Strings) ASSERT_TRUE(record);
}

TEST_F(ContentManagerTest, AddImageRegistersUnderTheImagesOwnShaderAndFlags) {
    auto pixmap = std::make_shared<platform::Pixmap>(3, 3);
    auto frame = std::make_shared<platform::Image>(pixmap, 12, Shader::GetShader("sprite"));
    auto other = std::make_shared<platform::Image>(pixmap, 12, Shader::GetShader("sprite"));
    EXPECT_EQ(content_->AddImage(frame, "atlas/frame1"), frame);
    EXPECT_EQ(content_->GetImage("atlas/frame1", nullptr, 12), frame);
    EXPECT_EQ(content_->AddImage(other, "atlas/frame1"), nullptr);
    EXPECT_EQ(content_->GetImage("atlas/frame1", nullptr, 12), frame);
    EXPECT_EQ(content_->AddImage(nullptr, "atlas/none"), nullptr);
    EXPECT_EQ(content_->ImageCount, 1);

    // Under flags 0 the same path is another key.
    auto unfiltered = std::make_shared<platform::Image>(pixmap, 0, Shader::GetShader("sprite"));
    EXPECT_EQ(content_->AddImage(unfiltered, "atlas/frame1"), unfiltered);
    EXPECT_EQ(content_->AddLight(frame, "atlas/frame1"), frame);
    EXPECT_EQ(content_->GetLight("atlas/frame1", Shader::GetShader("sprite"), 12), frame);
}

TEST_F(ContentManagerTest, ContentListNamesTheEntriesOfTheKindsTheFilterMentions) {
    content_->GetConfig("data/a.txt");
    content_->GetSound("sfx/b.ogg");
    content_->GetImage("gui/c.png", nullptr, 12);
    testing::internal::CaptureStdout();
    content_->GetFont("fonts/d.ttf", 12, nullptr);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(content_->ContentList(""), "");
    EXPECT_EQ(content_->ContentList("Sound and CONFIG"), "Config=data/a.txt\nSound=sfx/b.ogg");
    EXPECT_EQ(content_->ContentList("image,font"), "Font=fonts/d.ttf\nImage=gui/c.png");
    EXPECT_EQ(content_->ContentList("light"), "");
}

TEST_F(ContentManagerTest, ImageWalkSkipsMissesAndStopsAtTheEnds) {
    WriteImage("a.png", 1, 1);
    WriteImage("c.png", 1, 1);
    const auto a = content_->GetImage("a.png", nullptr, 12);
    content_->GetImage("b.png", nullptr, 12);
    const auto c = content_->GetImage("c.png", nullptr, 12);
    ASSERT_TRUE(a && c);
    EXPECT_EQ(content_->NextImage(a), c);
    EXPECT_EQ(content_->NextImage(c), c);
    EXPECT_EQ(content_->PreviousImage(c), a);
    EXPECT_EQ(content_->PreviousImage(a), a);

    const auto stranger = std::make_shared<platform::Image>(std::make_shared<platform::Pixmap>(1, 1));
    EXPECT_EQ(content_->NextImage(stranger), nullptr);
    EXPECT_EQ(content_->ImagePath(stranger), "");

    content_->SetImageHandle({0.5f, 1});
    EXPECT_EQ(a->Handle(), platform::Vec2f(0.5f, 1));
    EXPECT_EQ(c->Handle(), platform::Vec2f(0.5f, 1));
}

TEST_F(ContentManagerTest, AccessorsOutsideTheRecordedEntriesGiveNothing) {
    content_->GetString("missing.txt");
    for (int index : {-1, 1, 5, 64, 1000}) {
        EXPECT_EQ(content_->ImageAt(index), nullptr) << index;
        EXPECT_EQ(content_->StringAt(index), "") << index;
        EXPECT_EQ(content_->ConfigAt(index), nullptr) << index;
        EXPECT_EQ(content_->SoundAt(index), nullptr) << index;
        EXPECT_EQ(content_->FontAt(index), nullptr) << index;
        EXPECT_EQ(content_->LightAt(index), nullptr) << index;
        EXPECT_EQ(content_->BumpAt(index), nullptr) << index;
    }
}

TEST_F(ContentManagerTest, PlaceholdersComeFromTheirOwnCache) {
    WriteImage("kestrum-framework/images/test.png", 8, 8);
    CopyIn(FontFile(), "kestrum-framework/fonts/arial.ttf");
    fw::NullContent = std::make_shared<fw::ContentManager>();
    fw::Content = std::make_shared<fw::ContentManager>();

    const auto own = std::make_shared<platform::Image>(std::make_shared<platform::Pixmap>(1, 1));
    EXPECT_EQ(fw::NullImage(own), own);
    const auto placeholder = fw::NullImage(nullptr);
    ASSERT_TRUE(placeholder);
    EXPECT_EQ(fw::NullImage(nullptr), placeholder);
    const auto shared = fw::Content->GetImage("kestrum-framework/images/test.png", nullptr, 12);
    ASSERT_TRUE(shared);
    EXPECT_NE(shared, placeholder);

    const auto font = fw::NullFont(nullptr);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->Size(), 16);
    EXPECT_EQ(fw::NullFont(font), font);
    EXPECT_EQ(fw::NullContent->FontCount, 1);
    EXPECT_EQ(fw::Content->FontCount, 0);

    fw::NullContent.reset();
    fw::Content.reset();
    fw::InitContentManagerUnit();
    EXPECT_TRUE(fw::NullContent && fw::Content);
}
