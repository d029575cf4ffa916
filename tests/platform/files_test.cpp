#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/files.h"
#include "support/testsupport.h"

using namespace platform;

namespace {

using testsupport::ScopedEnv;

// Puts the assets folder back to its default after each test.
class Files : public testing::Test {
protected:
    void TearDown() override { SetAssetsDir(""); }
    std::string dir_ = testsupport::TempDir();
};

}  // namespace

TEST_F(Files, HomeFolderFromUserProfileThenHome) {
    {
        ScopedEnv profile("USERPROFILE", "C:\\Users\\Anna");
        ScopedEnv home("HOME", "/home/ignored");
        EXPECT_EQ(HomeDir(), "C:/Users/Anna/");
    }
    {
        ScopedEnv profile("USERPROFILE", std::nullopt);
        ScopedEnv home("HOME", "/home/anna");
        EXPECT_EQ(HomeDir(), "/home/anna/");
    }
    {
        ScopedEnv profile("USERPROFILE", "");
        ScopedEnv home("HOME", "/home/anna/");
        EXPECT_EQ(HomeDir(), "/home/anna/");
    }
    {
        // Neither is set: the password database still knows the home folder
        // (Windows has none: the working folder then).
        ScopedEnv profile("USERPROFILE", std::nullopt);
        ScopedEnv home("HOME", std::nullopt);
        const std::string home_dir = HomeDir();
        ASSERT_FALSE(home_dir.empty());
        EXPECT_EQ(home_dir.back(), '/');
        EXPECT_EQ(GetFileType(home_dir), FileType::Directory) << home_dir;
    }
}

TEST_F(Files, AssetsFolderBesideTheExecutableUnlessOverridden) {
    {
        ScopedEnv assets("ZANDROVIA_ASSETS", std::nullopt);
        const std::string app = AppDir();
        ASSERT_EQ(app.back(), '/');
#ifdef _WIN32
        EXPECT_EQ(GetFileType(app + "test-platform.exe"), FileType::File) << app;
#else
        EXPECT_EQ(GetFileType(app + "test-platform"), FileType::File) << app;
#endif
        EXPECT_EQ(AssetsDir(), app + "assets/");
        // The executable's folder, not the working folder.
        const auto previous = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
        EXPECT_EQ(AppDir(), app);
        std::filesystem::current_path(previous);
    }
    {
        ScopedEnv assets("ZANDROVIA_ASSETS", "/opt/zandrovia/assets");
        EXPECT_EQ(AssetsDir(), "/opt/zandrovia/assets/");
        SetAssetsDir("/data/assets");
        EXPECT_EQ(AssetsDir(), "/data/assets/");
        SetAssetsDir("");
        EXPECT_EQ(AssetsDir(), "/opt/zandrovia/assets/");
    }
}

TEST_F(Files, AssetPathsResolveIntoTheAssetsFolder) {
    SetAssetsDir("/data/assets/");
    struct Case {
        const char* path;
        const char* resolved;
    };
    const Case cases[] = {
        {"asset::sprites/ship.png", "/data/assets/sprites/ship.png"},
        {"asset::", "/data/assets/"},
        {"asset::../x.txt", "/data/assets/../x.txt"},
        {"asset::/abs/x.png", "/abs/x.png"},
        {"asset::C:/x.png", "C:/x.png"},
        {"asset::C:\\x.png", "C:\\x.png"},
        {"sprites/ship.png", "sprites/ship.png"},
        {"/abs/x.png", "/abs/x.png"},
        {"C:/x.png", "C:/x.png"},
        {"../x.txt", "../x.txt"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(RealPath(c.path), c.resolved) << c.path;

    for (const char* path : {"/x", "\\x", "C:/x", "c:\\x", "C:"}) EXPECT_TRUE(IsAbsolutePath(path)) << path;
    for (const char* path : {"x", "./x", "asset::x", "1:/x", ""}) EXPECT_FALSE(IsAbsolutePath(path)) << path;
}

TEST_F(Files, TextRoundTripsByteForByte) {
    const std::string path = dir_ + "prefs.txt";
    const std::string text = std::string("player=J\xC3\xBCrgen Gr\xC3\xB6\xC3\x9F" "e\r\nlevel=\xC3\x84\xC3\x96\xC3\x9C\n") +
                             std::string("\0\xFF\xFE end", 7);
    ASSERT_TRUE(SaveString(text, path));
    EXPECT_EQ(LoadString(path), text);
    // A shorter text replaces the whole file.
    ASSERT_TRUE(SaveString("x", path));
    EXPECT_EQ(LoadString(path), "x");
    // No temporary file is left beside it.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_)) ++entries;
    EXPECT_EQ(entries, 1);

    SetAssetsDir(dir_);
    EXPECT_EQ(LoadString("asset::prefs.txt"), "x");
}

// A user's folder may have any name: paths are UTF-8 texts on every system.
TEST_F(Files, ProfileFolderWithLettersBeyondAscii) {
    const std::string profile = dir_ + "J\xC3\xBCrgen Gro\xC3\x9F \xE6\x9D\xB1\xE4\xBA\xAC";
    ASSERT_TRUE(std::filesystem::create_directory(std::filesystem::path(std::u8string(
        reinterpret_cast<const char8_t*>(profile.data()), profile.size()))));
    ScopedEnv userProfile("USERPROFILE", profile);
    ASSERT_EQ(HomeDir(), profile + "/");
    const std::string prefs = HomeDir() + ".zandrovia.pref.dat";
    EXPECT_EQ(GetFileType(HomeDir()), FileType::Directory);
    ASSERT_TRUE(SaveString("levelIndex=3", prefs));
    ASSERT_TRUE(SaveString("levelIndex=4", prefs));
    EXPECT_EQ(LoadString(prefs), "levelIndex=4");
    EXPECT_EQ(GetFileType(prefs), FileType::File);
    // The file is where the folder's name says, and nothing is left beside it.
    const auto names = [](const std::filesystem::path& folder) {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const std::u8string name = entry.path().filename().u8string();
            found.emplace_back(name.begin(), name.end());
        }
        return found;
    };
    EXPECT_EQ(names(std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(dir_.data()), dir_.size()))),
              std::vector<std::string>{profile.substr(dir_.size())});
    EXPECT_EQ(names(std::filesystem::path(
                  std::u8string(reinterpret_cast<const char8_t*>(profile.data()), profile.size()))),
              std::vector<std::string>{".zandrovia.pref.dat"});
    EXPECT_TRUE(DeleteFile(prefs));
    EXPECT_EQ(GetFileType(prefs), FileType::None);
}

TEST_F(Files, MissingAndEmptyFilesAreToldApart) {
    EXPECT_EQ(LoadString(dir_ + "missing.txt"), "");
    EXPECT_FALSE(TryLoadString(dir_ + "missing.txt").has_value());
    ASSERT_TRUE(SaveString("", dir_ + "empty.txt"));
    const auto empty = TryLoadString(dir_ + "empty.txt");
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(*empty, "");
    EXPECT_FALSE(TryLoadString(dir_).has_value()) << "a folder is not a text file";
    EXPECT_FALSE(SaveString("x", dir_ + "no/such/folder/file.txt"));
}

// A file that is not there is told from one that is there but cannot be
// read, and a failed save says why.
TEST_F(Files, FailedReadsAndSavesSayWhy) {
    ASSERT_TRUE(SaveString("x", dir_ + "file.txt"));
    ASSERT_TRUE(std::filesystem::create_directory(dir_ + "folder"));
    std::error_code error = std::make_error_code(std::errc::io_error);
    EXPECT_TRUE(TryLoadString(dir_ + "file.txt", &error));
    EXPECT_FALSE(error) << error.message();
    for (const std::string& missing : {dir_ + "missing.txt", dir_ + "gone/file.txt", dir_ + "file.txt/inside.txt"}) {
        EXPECT_FALSE(TryLoadString(missing, &error));
        EXPECT_EQ(error, std::errc::no_such_file_or_directory) << missing << ": " << error.message();
    }
    EXPECT_FALSE(TryLoadString(dir_ + "folder", &error));
    EXPECT_TRUE(error && error != std::errc::no_such_file_or_directory) << error.message();

    EXPECT_FALSE(SaveString("x", dir_ + "folder", &error));
    EXPECT_EQ(error, std::errc::is_a_directory) << error.message();
    EXPECT_FALSE(SaveString("x", dir_ + "gone/file.txt", &error));
#ifdef _WIN32
    EXPECT_TRUE(error);
#else
    EXPECT_EQ(error, std::errc::no_such_file_or_directory) << error.message();
#endif
    EXPECT_TRUE(SaveString("y", dir_ + "file.txt", &error));
    EXPECT_FALSE(error) << error.message();
}

TEST_F(Files, FailedSaveLeavesNothingBehind) {
    // A folder in the way: the write must fail, keep the folder and its
    // contents, and not leave the temporary file beside it.
    std::filesystem::create_directory(dir_ + "taken");
    ASSERT_TRUE(SaveString("keep", dir_ + "taken/inside.txt"));
    EXPECT_FALSE(SaveString("x", dir_ + "taken"));
    EXPECT_EQ(LoadString(dir_ + "taken/inside.txt"), "keep");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_)) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST_F(Files, DeleteRenameAndFileTypes) {
    const std::string file = dir_ + "a.txt";
    ASSERT_TRUE(SaveString("a", file));
    EXPECT_EQ(GetFileType(file), FileType::File);
    EXPECT_EQ(GetFileType(dir_), FileType::Directory);
    EXPECT_EQ(GetFileType(dir_ + "missing"), FileType::None);

    ASSERT_TRUE(RenameFile(file, dir_ + "b.txt"));
    EXPECT_EQ(GetFileType(file), FileType::None);
    EXPECT_EQ(LoadString(dir_ + "b.txt"), "a");
    EXPECT_FALSE(RenameFile(dir_ + "missing", dir_ + "c.txt"));

    EXPECT_TRUE(DeleteFile(dir_ + "b.txt"));
    EXPECT_EQ(GetFileType(dir_ + "b.txt"), FileType::None);
    EXPECT_FALSE(DeleteFile(dir_ + "b.txt"));
    std::filesystem::create_directory(dir_ + "sub");
    EXPECT_FALSE(DeleteFile(dir_ + "sub")) << "folders are not deleted as files";
    EXPECT_EQ(GetFileType(dir_ + "sub"), FileType::Directory);
}

TEST(FilePaths, ExtensionAndFolderParts) {
    struct Case {
        const char* path;
        const char* ext;
        const char* stripped;
        const char* dir;
    };
    const Case cases[] = {
        {"a/b.png", ".png", "a/b", "a"},
        {"x.tar.gz", ".gz", "x.tar", ""},
        {"a.b/c", "", "a.b/c", "a.b"},
        {"dir\\f.txt", ".txt", "dir\\f", "dir"},
        {"c", "", "c", ""},
        {"/abs/file.", ".", "/abs/file", "/abs"},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtractExt(c.path), c.ext) << c.path;
        EXPECT_EQ(StripExt(c.path), c.stripped) << c.path;
        EXPECT_EQ(ExtractDir(c.path), c.dir) << c.path;
    }
}
