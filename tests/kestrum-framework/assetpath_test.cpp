#include "kestrum-framework/assetpath.h"

#include <gtest/gtest.h>

namespace fw = kestrum::framework;

TEST(AssetPath, ResolvePath) {
    struct Case {
        const char* path;
        const char* resolved;
    };
    const Case cases[] = {
        {"gui/key_idle.png", "asset::gui/key_idle.png"},
        {"gui\\key_idle.png", "asset::gui/key_idle.png"},
        {"asset::gui/a.png", "asset::gui/a.png"},
        {"C:\\data\\a.png", "C:/data/a.png"},
        {"odd:name.png", "odd:name.png"},
        {"../up.png", "../up.png"},
        {"file..name.png", "file..name.png"},
        {"/home/player/.zandrovia.pref.dat", "/home/player/.zandrovia.pref.dat"},
        {"", "asset::"},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::ResolvePath(c.path, "asset::"), c.resolved) << c.path;
    EXPECT_EQ(fw::ResolvePath("img.png", "scenes/"), "scenes/img.png");
}

TEST(AssetPath, StripDirExt) {
    EXPECT_EQ(fw::StripDirExt("sprites/ship.png"), "ship");
    EXPECT_EQ(fw::StripDirExt("ship"), "ship");
    EXPECT_EQ(fw::StripDirExt("a\\b\\c.txt"), "c");
}
