// The preferences file: round trip through a home folder, first run,
// malformed files, a file that cannot be read and a save that cannot complete.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#ifdef _WIN32
#include "platform/winapi.h"
#else
#include <sys/stat.h>
#endif
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "kestrum-framework/config.h"
#include "platform/files.h"
#include "platform/text.h"
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
        oldHome_ = testsupport::GetEnv("HOME").value_or("");
        oldProfile_ = testsupport::GetEnv("USERPROFILE");
        testsupport::SetEnv("HOME", home_);
        testsupport::SetEnv("USERPROFILE", std::nullopt);
    }
    void TearDown() override {
        if (oldHome_.empty()) testsupport::SetEnv("HOME", std::nullopt);
        else testsupport::SetEnv("HOME", oldHome_);
        testsupport::SetEnv("USERPROFILE", oldProfile_);
        Prefs = nullptr;
        levelIndex = 0;
    }
    std::string home_;
    std::string oldHome_;
    std::optional<std::string> oldProfile_;
};

kestrum::framework::Config Parsed(const std::string& text) {
    kestrum::framework::Config config;
    config.Parse(text);
    return config;
}

// The start-up's read of the preferences into Prefs; what it printed.
std::string StartUp() {
    testing::internal::CaptureStdout();
    Prefs = std::make_shared<kestrum::framework::Config>();
    Prefs->Parse(LoadPrefsText());
    return testing::internal::GetCapturedStdout();
}

// Two saving moments of one run (a level change, then Escape); what they printed.
std::string SaveTwice() {
    testing::internal::CaptureStdout();
    SaveState();
    ++levelIndex;
    SaveState();
    return testing::internal::GetCapturedStdout();
}

std::vector<std::string> Lines(const std::string& output) {
    std::vector<std::string> lines = platform::Split(output, "\n");
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

// Start-up over a preferences file that is there but cannot be read: one
// line names it, play starts from the defaults, and no save of the run
// writes over the file (nor fails trying: the line said it all).
void ExpectReportedOnceAndNeverSavedOver(const std::string& reason) {
    using testing::AllOf;
    using testing::ElementsAre;
    using testing::HasSubstr;
    const std::string output = StartUp();
    EXPECT_THAT(Lines(output), ElementsAre(AllOf(HasSubstr("Preferences cannot be read"),
                                                 HasSubstr(PrefsPath()), HasSubstr(reason))));
    EXPECT_EQ(PrefsLevelIndex(*Prefs), 1);
    levelIndex = 2;
    EXPECT_EQ(SaveTwice(), "");
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
    ASSERT_TRUE(std::filesystem::create_directory(PrefsPath() + ".tmp-" + std::to_string(getpid())));
    std::filesystem::create_directory(PrefsPath() + ".tmp-" + std::to_string(getpid()) + "/inside");
    EXPECT_FALSE(SavePrefsText("levelIndex=9"));
    EXPECT_EQ(LoadPrefsText(), "levelIndex=4");
    std::filesystem::remove_all(PrefsPath() + ".tmp-" + std::to_string(getpid()));

    // A home folder that cannot be written to at all is reported, not crashed on.
    testsupport::SetEnv("HOME", home_ + "no/such/folder");
    EXPECT_FALSE(SavePrefsText("x=1"));
}

TEST_F(TempHome, AKeyStandingTwiceIsSavedWhereTheNextStartReadsIt) {
    // A hand-edited file with the level twice: a start reads the first line.
    platform::SaveString("levelIndex=3\ninstructions1=True\nlevelIndex=4", PrefsPath());
    Prefs = std::make_shared<kestrum::framework::Config>();
    Prefs->Parse(LoadPrefsText());
    EXPECT_EQ(PrefsLevelIndex(*Prefs), 3);
    EXPECT_TRUE(PrefsInstructionsSeen(*Prefs));  // the readers leave the cursor where a write finds the first line
    levelIndex = 5;
    SaveState();
    kestrum::framework::Config next = Parsed(LoadPrefsText());
    EXPECT_EQ(PrefsLevelIndex(next), 5);
    EXPECT_EQ(LoadPrefsText(), "levelIndex=5\ninstructions1=True\nlevelIndex=4");
}

TEST_F(TempHome, AByteOrderMarkDoesNotHideTheFirstKey) {
    platform::SaveString("\xEF\xBB\xBFlevelIndex=6\r\ninstructions1=True\r\n", PrefsPath());
    Prefs = std::make_shared<kestrum::framework::Config>();
    Prefs->Parse(LoadPrefsText());
    EXPECT_EQ(PrefsLevelIndex(*Prefs), 6);
    levelIndex = 7;
    SaveState();
    EXPECT_EQ(PrefsLevelIndex(*Prefs), 7);
    const std::string saved = LoadPrefsText();
    EXPECT_EQ(saved, "levelIndex=7\ninstructions1=True") << "no second level line";
}

TEST_F(TempHome, AFolderWhereTheFileShouldBeIsReportedOnceAndKept) {
    namespace fs = std::filesystem;
    ASSERT_TRUE(fs::create_directories(PrefsPath() + "/inside"));
#ifdef _WIN32
    ExpectReportedOnceAndNeverSavedOver(std::make_error_code(std::errc::permission_denied).message());
#else
    ExpectReportedOnceAndNeverSavedOver(std::make_error_code(std::errc::is_a_directory).message());
#endif
    EXPECT_TRUE(fs::is_directory(PrefsPath() + "/inside"));
}

// The player's progress is lost once a save replaces a file that start-up
// could not read: that file stays as it is for the whole run.
#ifdef _WIN32
TEST_F(TempHome, AFileThatAnotherProgramLockedIsReportedOnceAndNeverSavedOver) {
    ASSERT_TRUE(SavePrefsText("player=Ada\nlevelIndex=7\ninstructions1=True"));
    // Another program holds the file open and shares it with no one.
    const HANDLE lock = ::CreateFileW(platform::win::Wide(PrefsPath()).c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ExpectReportedOnceAndNeverSavedOver("");
    ::CloseHandle(lock);
    EXPECT_EQ(LoadPrefsText(), "player=Ada\nlevelIndex=7\ninstructions1=True");
}
#else
TEST_F(TempHome, AFileThatMayNotBeReadIsReportedOnceAndNeverSavedOver) {
    if (geteuid() == 0) GTEST_SKIP() << "root may read every file";
    ASSERT_TRUE(SavePrefsText("player=Ada\nlevelIndex=7\ninstructions1=True"));
    // As after a run with sudo: the file belongs to someone else now.
    ASSERT_EQ(chmod(PrefsPath().c_str(), 0200), 0);
    ExpectReportedOnceAndNeverSavedOver(std::make_error_code(std::errc::permission_denied).message());
    ASSERT_EQ(chmod(PrefsPath().c_str(), 0600), 0);
    EXPECT_EQ(LoadPrefsText(), "player=Ada\nlevelIndex=7\ninstructions1=True");
}
#endif

// Every failed save of a run is the same news: one line naming the file and
// the reason, and play goes on with the preferences in memory.
TEST_F(TempHome, AFailedSaveIsReportedOnceNamingTheFileAndTheReason) {
    namespace fs = std::filesystem;
    const struct {
        const char* what;
        std::function<void()> setUp;
        std::errc reason;
    } cases[] = {
        {"the file's place is a folder", [&] { fs::create_directory(PrefsPath()); }, std::errc::is_a_directory},
        {"HOME names a folder that does not exist", [&] { testsupport::SetEnv("HOME", home_ + "gone/"); },
         std::errc::no_such_file_or_directory},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.setUp();
        Prefs = std::make_shared<kestrum::framework::Config>();
        levelIndex = 4;
        const std::vector<std::string> lines = Lines(SaveTwice());
        ASSERT_EQ(lines.size(), 1u) << testing::PrintToString(lines);
        const std::string prefix = "Preferences cannot be saved: " + PrefsPath() + ": ";
        ASSERT_TRUE(platform::StartsWith(lines[0], prefix)) << lines[0];
        const std::string reason = lines[0].substr(prefix.size());
#ifdef _WIN32
        EXPECT_FALSE(reason.empty());
#else
        EXPECT_EQ(reason, std::make_error_code(c.reason).message());
#endif
        EXPECT_EQ(Prefs->ReadInt("levelIndex", 0), 5);
    }
}

// A save killed before its rename leaves its temporary file: the next save
// removes it, as its process no longer runs.
TEST_F(TempHome, TemporaryFilesOfEndedSavesAreRemoved) {
    const std::string stale = PrefsPath() + ".tmp-999999999";
    ASSERT_TRUE(platform::SaveString("levelIndex=1", stale));
    ASSERT_TRUE(SavePrefsText("levelIndex=9"));
    EXPECT_EQ(platform::GetFileType(stale), platform::FileType::None);
    EXPECT_EQ(platform::LoadString(PrefsPath()), "levelIndex=9");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(home_)) names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{".zandrovia.pref.dat"});
}

#ifndef _WIN32
// (Unix permissions and links.)
TEST_F(TempHome, AHomeFolderThatMayNotBeWrittenReportsTheFailedSaveOnce) {
    if (geteuid() == 0) GTEST_SKIP() << "root may write into every folder";
    ASSERT_EQ(chmod(home_.c_str(), 0500), 0);
    Prefs = std::make_shared<kestrum::framework::Config>();
    const std::string output = SaveTwice();
    chmod(home_.c_str(), 0700);
    EXPECT_EQ(output, "Preferences cannot be saved: " + PrefsPath() + ": " +
                          std::make_error_code(std::errc::permission_denied).message() + "\n");
}

TEST_F(TempHome, SavingKeepsPermissionsAndWritesThroughALink) {
    namespace fs = std::filesystem;
    // A private file stays private.
    ASSERT_TRUE(SavePrefsText("levelIndex=2"));
    ASSERT_EQ(chmod(PrefsPath().c_str(), 0600), 0);
    ASSERT_TRUE(SavePrefsText("levelIndex=3"));
    EXPECT_EQ(fs::status(PrefsPath()).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

    // A link to a file elsewhere (a synchronised folder, say) stays a link,
    // and its target gets the text.
    const std::string elsewhere = testsupport::TempDir() + "real.pref";
    ASSERT_TRUE(platform::SaveString("levelIndex=1", elsewhere));
    ASSERT_EQ(chmod(elsewhere.c_str(), 0640), 0);
    fs::remove(PrefsPath());
    fs::create_symlink(elsewhere, PrefsPath());
    ASSERT_TRUE(SavePrefsText("levelIndex=8"));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(PrefsPath())));
    EXPECT_EQ(platform::LoadString(elsewhere), "levelIndex=8");
    EXPECT_EQ(fs::status(elsewhere).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // Nothing is left beside the link or its target, also not by a save
    // killed before its rename (a temporary file of a process that no longer runs).
    const std::string stale = elsewhere + ".tmp-999999999";
    ASSERT_TRUE(platform::SaveString("levelIndex=1", stale));
    ASSERT_TRUE(SavePrefsText("levelIndex=9"));
    for (const std::string& dir : {home_, elsewhere.substr(0, elsewhere.rfind('/') + 1)}) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
        EXPECT_EQ(names.size(), 1u) << dir << ": " << testing::PrintToString(names);
    }
}
#endif
