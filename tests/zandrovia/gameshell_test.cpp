// The game shell through the running Game screen (the headless game driver)
// and a local score service: a name and an e-mail typed with the pointer,
// the score posted, the hall of fame opened with the pause button and
// showing it, Escape closing the menu, and a picture of that menu.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "kestrum-framework/taskmanager.h"
#include "kestrum-gui/guilabel.h"
#include "kestrum-gui/guilayer.h"
#include "platform/input.h"
#include "platform/text.h"
#include "zandrovia/button.h"
#include "zandrovia/constants.h"
#include "zandrovia/creditbox.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/emailkeyboard.h"
#include "zandrovia/globals.h"
#include "zandrovia/namekeyboard.h"
#include "zandrovia/scoreservice.h"
#include "localscoreservice.h"

namespace {

using gamedriver::GameDriver;
using kestrum::framework::TasksPaused;

// The Game screen with its score service on the loopback address; the
// state it changes is put back afterwards.
class GameShell : public ::testing::Test {
protected:
    void SetUp() override {
        savedUrl = ScoreServiceUrl;
        ScoreServiceUrl = service.Url();
        savedOpener = OpenWebPage;
        OpenWebPage = [](const std::string&) {};
        NameDisplay->Text("");
        EmailDisplay->Text("");
    }
    void TearDown() override {
        ScoreServiceUrl = savedUrl;
        OpenWebPage = savedOpener;
        kestrum::framework::SetTasksPaused(false);
        GuiMode = GUI_MODE_PLAY;
        gameState = STATE_PLAY;
    }

    // A click with the pointer on the widget's centre (the GUI maps 1:1 to the window).
    void Click(kestrum::gui::GuiObject& widget) {
        const int x = static_cast<int>(widget.WorldX() + (0.5f - widget.Handle.x) * widget.WorldWidth());
        const int y = static_cast<int>(widget.WorldY() + (0.5f - widget.Handle.y) * widget.WorldHeight());
        game.Press(x, y);
        game.Frame();
        game.Release(x, y);
        game.Frame();
        // The release sent the system pointer back to where the press began
        // (the drawn pointer hides for every press while the clock runs);
        // that move arrives with the next frame's events.
        game.Frame();
    }
    void Type(kestrum::gui::GuiGroup& keyboard, const std::vector<std::string>& keys) {
        for (const std::string& key : keys) {
            auto widget = keyboard.GetObject(key);
            ASSERT_TRUE(widget) << key;
            Click(*widget);
        }
    }
    std::shared_ptr<kestrum::gui::GuiLabel> CreditLabel(const std::string& text) {
        for (const auto& member : Credits->Members) {
            auto label = std::dynamic_pointer_cast<kestrum::gui::GuiLabel>(member);
            if (label && label->Text() == text) return label;
        }
        return nullptr;
    }

    testsupport::LocalScoreService service{"normal", R"([[9000,"NINA"],[4000,"OTTO"]])"};
    GameDriver game;
    std::string savedUrl;
    std::function<void(const std::string&)> savedOpener;
};

}  // namespace

TEST_F(GameShell, ANameAndEmailTypedWithThePointerArePostedAndShowInTheHallOfFame) {
    // The end of a game with a high score, as the game-state machine leaves it.
    Score = 6500;
    levelIndex = 3;
    gameState = STATE_GAME_OVER + 1;
    GuiMode = GUI_MODE_NAME;
    game.Frame();

    Type(*NameEntry, {"a", "c", "e", " back ", "e", " space ", "q"});
    EXPECT_EQ(NameDisplay->Text(), "ACE Q");
    Type(*NameEntry, {" ok "});
    ASSERT_EQ(GuiMode, GUI_MODE_EMAIL);
    Type(*EmailEntry, {"x", " @ ", "y", " . ", "z"});
    EXPECT_EQ(EmailDisplay->Text(), "X@Y.Z");
    Type(*EmailEntry, {" ok "});
    EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
    EXPECT_EQ(gameState, STATE_GAME_OVER + 2);
    const std::vector<std::string> posts = service.Posts();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0], ScoreRecord(6500, "ACE Q", "X@Y.Z", 3, "125", SystemLocale));

    // The pause button fetches the hall of fame and opens the menu with it.
    Click(*PauseButton);
    EXPECT_EQ(GuiMode, GUI_MODE_PAUSE);
    EXPECT_TRUE(TasksPaused());
    EXPECT_EQ(service.Gets(), 1);
    const auto ranks = {std::make_pair("1.", "NINA"), std::make_pair("2.", "ACE Q"), std::make_pair("3.", "OTTO")};
    float previous = -1;
    for (const auto& [rank, name] : ranks) {
        auto rankLabel = CreditLabel(rank);
        auto nameLabel = CreditLabel(name);
        ASSERT_TRUE(rankLabel && nameLabel) << name;
        EXPECT_FLOAT_EQ(rankLabel->Y(), nameLabel->Y());
        EXPECT_GT(nameLabel->Y(), previous);
        previous = nameLabel->Y();
    }
    EXPECT_TRUE(CreditLabel("6500"));
    // During "GAME OVER" the hall of fame comes before the how-to-play text.
    EXPECT_LT(CreditLabel("HALL OF FAME")->Y(), CreditLabel("HOW TO PLAY")->Y());
    // The download's temporary file is gone.
    for (const auto& entry : std::filesystem::directory_iterator(GameDriver::HomeDir())) {
        EXPECT_FALSE(platform::StartsWith(entry.path().filename().string(), ".zandrovia.out")) << entry.path();
    }

    // The column scrolled into view, then a look at the menu.
    Credits->ScrollY = -150;
    game.Move(700, 300);
    game.Frame();
    const char* dir = std::getenv("ZANDROVIA_SCREENSHOTS");
    const std::string folder = dir && *dir ? std::string(dir) + "/" : testsupport::TempDir();
    EXPECT_TRUE(game.Screenshot(folder + "hall-of-fame.png"));

    // Escape closes the menu and the clock runs again.
    game.Key(platform::Key::Escape);
    EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
    EXPECT_FALSE(TasksPaused());
    EXPECT_EQ(game.Terminations(), 0);
    EXPECT_TRUE(manualPaused);
}

TEST_F(GameShell, SkipGoesOnWithoutAPostAndTheSwitchOffFetchesNothing) {
    Score = 7000;
    gameState = STATE_GAME_OVER + 1;
    GuiMode = GUI_MODE_NAME;
    game.Frame();
    Type(*NameEntry, {"b", " skip "});
    EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
    EXPECT_EQ(gameState, STATE_GAME_OVER + 2);
    EXPECT_TRUE(service.Posts().empty());

    HALL_OF_FAME_ENABLED = false;
    Click(*PauseButton);
    HALL_OF_FAME_ENABLED = true;
    EXPECT_EQ(GuiMode, GUI_MODE_PAUSE);
    EXPECT_EQ(service.Gets(), 0);
    EXPECT_FALSE(CreditLabel("HALL OF FAME"));
    // Opened during play (not at the end of a game) the how-to-play text comes first.
    gameState = STATE_PLAY;
    GuiMode = GUI_MODE_PLAY;
    kestrum::framework::SetTasksPaused(false);
    game.Frame();
    Click(*PauseButton);
    EXPECT_EQ(service.Gets(), 1);
    EXPECT_LT(CreditLabel("HOW TO PLAY")->Y(), CreditLabel("HALL OF FAME")->Y());
    // The menu's own buttons answer while the game is paused.
    Click(*GuiRoots[GUI_MODE_PAUSE]->GetObject("close"));
    EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
    EXPECT_FALSE(TasksPaused());
    EXPECT_FALSE(manualPaused);
}
