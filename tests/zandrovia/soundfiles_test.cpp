// A broken install: the real executable runs with an assets folder whose
// music track is damaged and one of whose sound effects is missing. Each
// prints one line naming its file, and the game loads the rest and reaches
// its Game screen without them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/files.h"
#include "platform/system.h"
#include "platform/text.h"
#include "support/testsupport.h"

namespace fs = std::filesystem;

namespace {

// Links every entry of from into to, except the names given.
void LinkAllBut(const fs::path& from, const fs::path& to, std::initializer_list<const char*> except) {
    fs::create_directories(to);
    for (const auto& entry : fs::directory_iterator(from)) {
        const std::string name = entry.path().filename().string();
        bool skipped = false;
        for (const char* e : except) skipped = skipped || name == e;
        if (skipped) continue;
        // Links where the system makes them (Windows may not): copies else.
        std::error_code error;
        fs::create_symlink(fs::absolute(entry.path()), to / name, error);
        if (error) fs::copy(entry.path(), to / name, fs::copy_options::recursive);
    }
}

}  // namespace

TEST(SoundFiles, ADamagedOrMissingSoundIsReportedAndTheGameGoesOnWithoutIt) {
#ifdef _WIN32
    const std::string program = platform::AppDir() + "../Zandrovia.exe";
#else
    const std::string program = platform::AppDir() + "../Zandrovia";
#endif
    ASSERT_EQ(platform::GetFileType(program), platform::FileType::File)
        << "build the Zandrovia target first: " << program;
    const fs::path real = testsupport::AssetsDir();
    const fs::path assets = testsupport::TempDir() + "assets";
    LinkAllBut(real, assets, {"music", "sfx"});
    LinkAllBut(real / "sfx", assets / "sfx", {"bonus.wav"});
    fs::create_directories(assets / "music");
    const std::string music = platform::LoadString((real / "music" / "technosonavista.ogg").string());
    ASSERT_GT(music.size(), 1000u);
    ASSERT_TRUE(platform::SaveString(music.substr(0, music.size() / 2), (assets / "music" / "technosonavista.ogg").string()));

    const std::string home = testsupport::TempDir();
    const std::string frames = testsupport::TempDir();
    testsupport::ScopedEnv homeVar("HOME", home);
    testsupport::ScopedEnv profile("USERPROFILE", std::nullopt);
    testsupport::ScopedEnv assetsVar("ZANDROVIA_ASSETS", assets.string());
    testsupport::ScopedEnv dump("ZANDROVIA_FRAME_DUMP", frames);
    ASSERT_EQ(platform::RunProgram(program, {}, frames + "stdout.txt"), 0);

    // (A Windows program's text output ends its lines with "\r\n".)
    EXPECT_EQ(platform::Replace(platform::LoadString(frames + "stdout.txt"), "\r\n", "\n"),
              "Sound cannot be decoded: asset::music/technosonavista.ogg\n"
              "Sound not found: asset::sfx/bonus.wav\n");
    const std::string screens = platform::LoadString(frames + "screens.txt");
    EXPECT_NE(screens.find("64 game\n65 game\n"), std::string::npos) << screens;
}
