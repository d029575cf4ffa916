// The game shell through the running Game screen (the headless game driver)
// and a local score service: a game played to its end, a name and an e-mail
// typed with the pointer, the score posted and shown in the hall of fame
// that the end of the game opens (and a picture of it), "replay", the pause
// button's menu closed with Escape, and "skip".
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "kestrum-framework/taskmanager.h"
#include "kestrum-gui/guilabel.h"
#include "kestrum-gui/guilayer.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/text.h"
#include "zandrovia/button.h"
#include "zandrovia/constants.h"
#include "zandrovia/creditbox.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/emailkeyboard.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/namekeyboard.h"
#include "zandrovia/objectkind.h"
#include "zandrovia/player.h"
#include "zandrovia/playerbullet.h"
#include "zandrovia/scoreservice.h"
#include "zandrovia/textmessage.h"
#include "zandrovia/zandrovia.h"
// The whole game against the local score service, a Python program run with
// the system's wget: Linux only.
#ifndef _WIN32
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

    void Click(kestrum::gui::GuiObject& widget) { game.Click(widget); }
    void Type(kestrum::gui::GuiGroup& keyboard, const std::vector<std::string>& keys) {
        for (const std::string& key : keys) {
            auto widget = keyboard.GetObject(key);
            ASSERT_TRUE(widget) << key;
            Click(*widget);
        }
    }
    // Where pictures of the screens go: ZANDROVIA_SCREENSHOTS, else a temporary folder.
    static std::string ScreenshotFolder() {
        const char* dir = std::getenv("ZANDROVIA_SCREENSHOTS");
        return dir && *dir ? std::string(dir) + "/" : testsupport::TempDir();
    }
    // Updates of the Game screen without drawing, where only time passes.
    void Updates(int count) {
        for (int i = 0; i < count; ++i) {
            game.Tick();
            GameScreen->OnUpdate();
        }
    }
    // Every enemy in play is hit by a shot of the current ship that carries
    // its energy, so the hit destroys it and scores as in play.
    static void ShootDownEnemies() {
        std::vector<kestrum::scenegraph::LayerObjectPtr> enemies;
        ForEachObject(GameLayer.get(), [&](const kestrum::scenegraph::LayerObjectPtr& object) {
            switch (KindOf(object.get())) {
                case ObjectKind::Attacker:
                case ObjectKind::Tank:
                case ObjectKind::Rocket:
                case ObjectKind::Spider:
                case ObjectKind::Saucer:
                    if (object->Enabled() && object->ScoreSystem) enemies.push_back(object);
                    break;
                default: break;
            }
        });
        for (const auto& enemy : enemies) {
            const auto shot = PlayerBulletPool.Acquire();
            if (!shot || !CurrentPlayer) return;
            shot->Launch(CurrentPlayer, PlayerBulletImage, {0, 32}, 1.5708f, 16, enemy->ScoreSystem->Energy, 1);
            shot->ApplyHit(enemy);
        }
    }
    // The ships of the squadron are lost; the last one ends the game.
    static void LoseSquadron() {
        std::vector<kestrum::scenegraph::LayerObjectPtr> ships;
        ForEachObject(GameLayer.get(), [&](const kestrum::scenegraph::LayerObjectPtr& object) {
            if (KindOf(object.get()) == ObjectKind::Player) ships.push_back(object);
        });
        for (const auto& ship : ships) ship->Remove();
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

TEST_F(GameShell, AGamePlayedToItsEndPostsTheTypedNameAndShowsItInTheHallOfFame) {
    // A new game from the saved level, as the menu's "replay" starts it.
    Prefs->Clear();
    Prefs->Parse("instructions1=True\nlevelIndex=5");
    gameState = STATE_NEW_GAME;
    game.Frame(4);
    ASSERT_EQ(gameState, STATE_PLAY);
    ASSERT_EQ(levelIndex, 5);
    ASSERT_GT(ShipsAlive, 0);

    // Play: the enemies that come in are shot down, through the levels,
    // until the score is a high one; then the squadron is lost.
    int rounds = 0;
    while (Score <= 5000 && rounds < 400) {
        game.Skip(2000);
        Updates(1);
        if (gameState == STATE_PLAY && !kestrum::framework::TasksHalted()) ShootDownEnemies();
        Updates(5);
        ++rounds;
    }
    ASSERT_GT(Score, 5000) << rounds << " rounds";
    while (gameState != STATE_PLAY) Updates(1);
    const int score = Score, level = levelIndex;
    LoseSquadron();
    ASSERT_EQ(gameState, STATE_GAME_OVER);

    // The name keyboard comes up, and the scene dims behind it.
    game.Frame();
    ASSERT_EQ(gameState, STATE_GAME_OVER + 1);
    ASSERT_EQ(GuiMode, GUI_MODE_NAME);
    Type(*NameEntry, {"a", "c", "e", " back ", "e", " space ", "q"});
    EXPECT_EQ(NameDisplay->Text(), "ACE Q");
    EXPECT_TRUE(game.Screenshot(ScreenshotFolder() + "name-entry.png"));
    Type(*NameEntry, {" ok "});
    ASSERT_EQ(GuiMode, GUI_MODE_EMAIL);
    EXPECT_EQ(gameState, STATE_GAME_OVER + 1);
    EXPECT_LT(Fade, 1.0f);
    Type(*EmailEntry, {"x", " @ ", "y", " . ", "z"});
    EXPECT_EQ(EmailDisplay->Text(), "X@Y.Z");
    Type(*EmailEntry, {" ok "});

    // The score went to the service, and "GAME OVER" shows.
    const std::vector<std::string> posts = service.Posts();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0], ScoreRecord(score, "ACE Q", "X@Y.Z", level, "125", SystemLocale));
    EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
    EXPECT_EQ(gameState, STATE_GAME_OVER + 3);
    ASSERT_TRUE(LevelBanner);
    EXPECT_EQ(LevelBanner->Main->Text, "GAME OVER");
    EXPECT_EQ(service.Gets(), 0);

    // When the message has gone the hall of fame is downloaded and the menu
    // opens on it, with the clock paused.
    int updates = 0;
    while (gameState != STATE_PLAY && updates < 1000) {
        Updates(1);
        ++updates;
    }
    ASSERT_EQ(gameState, STATE_PLAY);
    EXPECT_EQ(GuiMode, GUI_MODE_PAUSE);
    EXPECT_TRUE(TasksPaused());
    EXPECT_EQ(service.Gets(), 1);
    const std::string points = std::to_string(score);
    using Rows = std::vector<std::pair<std::string, std::string>>;
    const Rows rows = score > 9000 ? Rows{{"1.", "ACE Q"}, {"2.", "NINA"}, {"3.", "OTTO"}}
                                   : Rows{{"1.", "NINA"}, {"2.", "ACE Q"}, {"3.", "OTTO"}};
    float previous = -1;
    for (const auto& [rank, name] : rows) {
        auto rankLabel = CreditLabel(rank);
        auto nameLabel = CreditLabel(name);
        ASSERT_TRUE(rankLabel && nameLabel) << name;
        EXPECT_FLOAT_EQ(rankLabel->Y(), nameLabel->Y());
        EXPECT_GT(nameLabel->Y(), previous);
        previous = nameLabel->Y();
    }
    ASSERT_TRUE(CreditLabel(points));
    EXPECT_FLOAT_EQ(CreditLabel(points)->Y(), CreditLabel("ACE Q")->Y());
    // At the end of a game the hall of fame comes before the how-to-play text.
    EXPECT_LT(CreditLabel("HALL OF FAME")->Y(), CreditLabel("HOW TO PLAY")->Y());
    // The download's temporary file is gone.
    for (const auto& entry : std::filesystem::directory_iterator(GameDriver::HomeDir())) {
        EXPECT_FALSE(platform::StartsWith(entry.path().filename().string(), ".zandrovia.out")) << entry.path();
    }

    // The column scrolled into view, then a look at the menu.
    Credits->ScrollY = -150;
    game.Move(700, 300);
    game.Frame();
    EXPECT_TRUE(game.Screenshot(ScreenshotFolder() + "hall-of-fame.png"));

    // "replay" starts a new game at the saved level; the keyboards keep
    // their texts for the next entry.
    Click(*GuiRoots[GUI_MODE_PAUSE]->GetObject("replay"));
    game.Frame(3);
    EXPECT_EQ(gameState, STATE_PLAY);
    EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
    EXPECT_FALSE(TasksPaused());
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(levelIndex, PrefsLevelIndex(*Prefs));
    EXPECT_GT(ShipsAlive, 0);
    EXPECT_EQ(NameDisplay->Text(), "ACE Q");
    EXPECT_EQ(EmailDisplay->Text(), "X@Y.Z");
}

TEST_F(GameShell, EscapeClosesTheMenuThatThePauseButtonOpened) {
    gameState = STATE_PLAY;
    game.Frame();
    Click(*PauseButton);
    ASSERT_EQ(GuiMode, GUI_MODE_PAUSE);
    ASSERT_TRUE(TasksPaused());
    EXPECT_EQ(service.Gets(), 1);
    EXPECT_TRUE(manualPaused);
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
    EXPECT_EQ(gameState, STATE_GAME_OVER + 3);
    EXPECT_EQ(LevelBanner->Main->Text, "GAME OVER");
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

#endif
