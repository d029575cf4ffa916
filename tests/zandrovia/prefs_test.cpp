// The preferences file: round trip through a home folder, first run,
// malformed files and a save that cannot complete.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "kestrum-framework/config.h"
#include "platform/files.h"
#include "support/testsupport.h"
#include "zandrovia/constants.h"
#include "zandrovia/globals.h"
#include "zandrovia/zandrovia.h"

namespace {

// Points the home folder at a fresh temporary folder for one test.
class TempHome : public testing::Test {
protected:
    void SetUp() override {
        InitGameModule();
        home_ = testsupport::TempDir();
        if (const char* old = std::getenv("HOME")) oldHome_ = old;
        setenv("HOME", home_.c_str(), 1);
        unsetenv("USERPROFILE");
    }
    void TearDown() override {
        if (oldHome_.empty()) unsetenv("HOME");
        else setenv("HOME", oldHome_.c_str(), 1);
        Prefs = nullptr;
        levelIndex = 0;
    }
    std::string home_;
    std::string oldHome_;
};

kestrum::framework::Config Parsed(const std::string& text) {
    kestrum::framework::Config config;
    config.Parse(text);
    return config;
}

}  // namespace

TEST_F(TempHome, FirstRunHasNoFileAndDefaults) {
    EXPECT_EQ(PrefsPath(), home_ + ".zandrovia.pref.dat");
    EXPECT_EQ(LoadPrefsText(), "");
    kestrum::framework::Config prefs = Parsed(LoadPrefsText());
    EXPECT_EQ(PrefsLevelIndex(prefs), 1);
    EXPECT_FALSE(PrefsInstructionsSeen(prefs));
}

TEST_F(TempHome, SaveStateRoundTripKeepsKeyOrderAndUnknownLines) {
    Prefs = std::make_shared<kestrum::framework::Config>();
    Prefs->Parse("");
    Prefs->WriteBool(PREFS_KEY_INSTRUCTIONS, true);
    Prefs->WriteString("player", "Ada");
    levelIndex = 7;
    SaveState();
    EXPECT_EQ(LoadPrefsText(), "instructions1=True\nplayer=Ada\nlevelIndex=7");
    EXPECT_FALSE(platform::GetFileType(PrefsPath() + ".tmp") == platform::FileType::File);

    kestrum::framework::Config read = Parsed(LoadPrefsText());
    EXPECT_EQ(PrefsLevelIndex(read), 7);
    EXPECT_TRUE(PrefsInstructionsSeen(read));

    levelIndex = 8;
    SaveState();
    EXPECT_EQ(LoadPrefsText(), "instructions1=True\nplayer=Ada\nlevelIndex=8");
}

TEST_F(TempHome, MalformedFilesGiveDefaultsAndALevelInTheTable) {
    const struct {
        const char* text;
        int level;
        bool instructions;
    } cases[] = {
        {"levelIndex=7\ninstructions1=True", 7, true},
        {"LEVELINDEX = 3", 3, false},
        {"levelIndex=\"5\"", 5, false},
        {"levelIndex=0", 0, false},
        {"levelIndex=20", 20, false},
        {"levelIndex=21", 1, false},
        {"levelIndex=-4", 1, false},
        {"levelIndex=99999999999999999999", 1, false},
        {"levelIndex=abc", 1, false},
        {"levelIndex=4x", 1, false},
        {"levelIndex=", 1, false},
        {"levelIndex", 1, false},
        {"instructions1=yes", 1, false},
        {"garbage without equals\n\x01\x02\xff\xfe=\x80", 1, false},
        {"levelInd", 1, false},
    };
    for (const auto& c : cases) {
        platform::SaveString(c.text, PrefsPath());
        kestrum::framework::Config prefs = Parsed(LoadPrefsText());
        EXPECT_EQ(PrefsLevelIndex(prefs), c.level) << c.text;
        EXPECT_EQ(PrefsInstructionsSeen(prefs), c.instructions) << c.text;
    }
}

TEST_F(TempHome, SaveThatCannotCompleteLeavesTheOldFile) {
    ASSERT_TRUE(SavePrefsText("levelIndex=4"));
    // The temporary file's place is taken by a folder: the write fails
    // before anything touches the real file.
    ASSERT_TRUE(std::filesystem::create_directory(PrefsPath() + ".tmp"));
    EXPECT_FALSE(SavePrefsText("levelIndex=9"));
    EXPECT_EQ(LoadPrefsText(), "levelIndex=4");

    // A home folder that cannot be written to at all is reported, not crashed on.
    EXPECT_FALSE(SavePrefsTextTo("x=1", home_ + "no/such/folder/prefs.dat"));
}
