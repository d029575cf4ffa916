// The game-state machine through the running program: the level chosen at
// start, the level-up sequence with its timing and the saved progress, the
// end of a game with and without name entry, a new game, and the pauses.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "kestrum-framework/contentmanager.h"
#include "kestrum-framework/taskmanager.h"
#include "kestrum-gui/guiimage.h"
#include "kestrum-gui/guilayer.h"
#include "kestrum-scenegraph/layer.h"
#include "platform/files.h"
#include "zandrovia/attackerbullet.h"
#include "zandrovia/constants.h"
#include "zandrovia/dialog.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/levels.h"
#include "zandrovia/localization.h"
#include "zandrovia/objectkind.h"
#include "zandrovia/player.h"
#include "zandrovia/playerbullet.h"
#include "zandrovia/pooledparticle.h"
#include "zandrovia/tankbullet.h"
#include "zandrovia/taskscheduler.h"
#include "zandrovia/textmessage.h"
#include "zandrovia/trailparticle.h"
#include "zandrovia/zandrovia.h"

namespace {

using gamedriver::GameDriver;
using gamedriver::SoundProbe;
using kestrum::framework::SetTasksPaused;
using kestrum::framework::TasksPaused;
using kestrum::scenegraph::LayerObjectPtr;

std::string PrefsFileText() { return platform::LoadString(PrefsPath()); }

bool Saved(const std::string& line) { return PrefsFileText().find(line) != std::string::npos; }

// A clean game whose preferences hold the text, started as the screen starts.
void StartFrom(GameDriver& game, const std::string& prefs) {
    game.Reset();
    std::remove(PrefsPath().c_str());
    Prefs->Clear();
    Prefs->Parse(prefs);
    GameScreen->OnStart();
}

// Destroys every enemy that keeps the level open.
void ClearEnemies() {
    std::vector<LayerObjectPtr> enemies;
    ForEachObject(GameLayer.get(), [&](const LayerObjectPtr& object) {
        switch (KindOf(object.get())) {
            case ObjectKind::Attacker:
            case ObjectKind::Tank:
            case ObjectKind::Spider:
            case ObjectKind::Saucer:
            case ObjectKind::Rocket: enemies.push_back(object); break;
            default: break;
        }
    });
    for (const auto& enemy : enemies) enemy->Remove();
}

void LoseAllShips() {
    std::vector<LayerObjectPtr> ships;
    ForEachObject(GameLayer.get(), [&](const LayerObjectPtr& object) {
        if (KindOf(object.get()) == ObjectKind::Player) ships.push_back(object);
    });
    for (const auto& ship : ships) ship->Remove();
}

// Updates of the Game screen without drawing, where only time passes.
void Updates(GameDriver& game, int count) {
    for (int i = 0; i < count; ++i) {
        game.Tick();
        GameScreen->OnUpdate();
    }
}

// Updates until the state is reached (at most limit); the number run.
int UpdatesUntil(GameDriver& game, int state, int limit = 2000) {
    int updates = 0;
    while (gameState != state && updates < limit) {
        Updates(game, 1);
        ++updates;
    }
    return updates;
}

// While the clock is paused the state, its timer and the fade stay.
void ExpectHeldWhilePaused(GameDriver& game) {
    const int state = gameState, timer = StateTimer, level = levelIndex;
    const float fade = Fade;
    SetTasksPaused(true);
    Updates(game, 30);
    SetTasksPaused(false);
    EXPECT_EQ(gameState, state);
    EXPECT_EQ(StateTimer, timer);
    EXPECT_EQ(Fade, fade);
    EXPECT_EQ(levelIndex, level);
}

template <typename Pool>
bool AllFree(const Pool& pool) {
    for (int i = 0; i < pool.Count; ++i) {
        if (pool.Used[static_cast<std::size_t>(i)]) return false;
    }
    return pool.Count > 0;
}

bool PoolsFull() {
    for (const int count : ParticleCounts) {
        if (count != 0) return false;
    }
    return AllFree(PlayerBulletPool) && AllFree(AttackerBulletPool) && AllFree(TankBulletPool) && AllFree(TrailPool) &&
           AllFree(ParticlePool);
}

// The score service out of reach: the end of a game downloads nothing.
class QuietScoreService {
public:
    QuietScoreService() : url_(ScoreServiceUrl) { ScoreServiceUrl = "http://127.0.0.1:9/game/index.php"; }
    ~QuietScoreService() { ScoreServiceUrl = url_; }

private:
    std::string url_;
};

}  // namespace

TEST(GameStates, TheStartPlaysTheTutorialUntilItWasPlayedThenTheSavedLevel) {
    GameDriver game;
    const struct {
        const char* prefs;
        int level;
    } cases[] = {
        {"", 0},
        {"levelIndex=7", 0},
        {"instructions1=False\nlevelIndex=7", 0},
        {"instructions1=True\nlevelIndex=7", 7},
        {"instructions1=True", 1},
        {"instructions1=True\nlevelIndex=0", 0},
        {"instructions1=True\nlevelIndex=20", 20},
        {"instructions1=True\nlevelIndex=-1", 1},
        {"instructions1=True\nlevelIndex=21", 1},
        {"instructions1=True\nlevelIndex=99", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.prefs);
        game.Reset();
        Prefs->Clear();
        Prefs->Parse(c.prefs);
        Fade = 0.25f;
        GameScreen->OnStart();
        EXPECT_EQ(levelIndex, c.level);
        EXPECT_EQ(InstructionsSeen, std::string(c.prefs).starts_with("instructions1=True"));
        ASSERT_TRUE(LevelBanner);
        if (c.level == 0) {
            EXPECT_EQ(ShipsAlive, 3);
            EXPECT_EQ(GameScheduler->Pending(), 2);
        } else {
            EXPECT_EQ(LevelBanner->Main->Text, "LEVEL " + std::to_string(c.level));
        }
        // The start changes neither the state nor the fade.
        EXPECT_EQ(gameState, STATE_PLAY);
        EXPECT_EQ(Fade, 0.25f);
    }
}

TEST(GameStates, AClearedLevelShowsItsBannerWaitsFadesOutChangesLevelAndFadesIn) {
    GameDriver game;
    StartFrom(game, "instructions1=True\nlevelIndex=3");
    game.Frame(3);
    ASSERT_EQ(gameState, STATE_PLAY);
    EXPECT_EQ(ShipsAlive, 8);
    Score = 1000;

    // The update in which no counted enemy is left runs the cleared step,
    // with its voice.
    SoundProbe wellDone(Voices[5]);
    ClearEnemies();
    game.Frame();
    ASSERT_EQ(gameState, STATE_LEVEL_UP + 1);
    EXPECT_EQ(wellDone.Plays(), 1);
    EXPECT_EQ(StateTimer, 120);
    EXPECT_EQ(LevelBanner->Main->Text, morvane::locale::Localize("lvl_cleared"));
    EXPECT_EQ(LevelBanner->Main->Font, kestrum::framework::Content->GetFont(TextFont, 64));
    EXPECT_EQ(LevelBanner->Location(), (platform::Vec2f{568, 320}));
    EXPECT_EQ(LevelBanner->Time, kestrum::framework::TaskTime() + 600);
    EXPECT_EQ(LevelBanner->Data.front()->Duration, 1000);

    Updates(game, 50);
    ExpectHeldWhilePaused(game);
    // 121 updates after the timer was set, the fade-out starts.
    EXPECT_EQ(UpdatesUntil(game, STATE_LEVEL_UP + 2), 121 - 50);
    EXPECT_EQ(Fade, 1.0f);
    Updates(game, 5);
    ExpectHeldWhilePaused(game);
    EXPECT_EQ(UpdatesUntil(game, STATE_LEVEL_UP + 3), 20 - 5);
    EXPECT_EQ(Fade, 0.0f);
    ExpectHeldWhilePaused(game);

    // The level change: bonus, everything cleared, the next level built and saved.
    const std::string before = PrefsFileText();
    game.Frame();
    ASSERT_EQ(gameState, STATE_LEVEL_UP + 4);
    EXPECT_TRUE(before.empty());
    EXPECT_EQ(levelIndex, 4);
    EXPECT_TRUE(Saved("levelIndex=4"));
    EXPECT_EQ(Score, 1000 + 8 * 3);
    EXPECT_EQ(ShipsAlive, 6);
    EXPECT_EQ(GameScheduler->Pending(), 53);
    EXPECT_EQ(LevelBanner->Main->Text, "LEVEL 4");
    EXPECT_TRUE(PoolsFull());
    EXPECT_EQ(WeaponLevel, 0);
    EXPECT_EQ(TanksDestroyed, 0);
    ExpectHeldWhilePaused(game);
    EXPECT_EQ(UpdatesUntil(game, STATE_PLAY), 20);
    EXPECT_EQ(Fade, 1.0f);

    // The cleared step itself waits while the clock is halted.
    gameState = STATE_LEVEL_UP;
    const auto banner = LevelBanner;
    ExpectHeldWhilePaused(game);
    EXPECT_EQ(LevelBanner, banner);
}

TEST(GameStates, ClearingTheTutorialMarksItPlayedDropsItsPointsAndGoesOnAtLevelOne) {
    GameDriver game;
    StartFrom(game, "");
    ASSERT_EQ(levelIndex, 0);
    game.Frame();
    Score = 777;
    ClearEnemies();
    game.Frame();
    EXPECT_EQ(Score, 0);
    EXPECT_FALSE(Saved("instructions1"));
    UpdatesUntil(game, STATE_LEVEL_UP + 4);
    EXPECT_EQ(levelIndex, 1);
    EXPECT_EQ(Score, 0);
    EXPECT_TRUE(Saved("instructions1=True"));
    EXPECT_TRUE(Saved("levelIndex=1"));

    // After level 20 play goes on at level 1, saved as 1.
    StartFrom(game, "instructions1=True\nlevelIndex=20");
    game.Frame();
    ClearEnemies();
    UpdatesUntil(game, STATE_LEVEL_UP + 4);
    EXPECT_EQ(levelIndex, 1);
    EXPECT_TRUE(Saved("levelIndex=1"));
    EXPECT_EQ(LevelBanner->Main->Text, "LEVEL 1");
}

TEST(GameStates, TheFadeSinksToHalfWhilePausedAndClimbsBackInPlay) {
    GameDriver game;
    StartFrom(game, "instructions1=True\nlevelIndex=2");
    Fade = 0.2f;
    SetTasksPaused(true);
    game.Frame();
    EXPECT_EQ(Fade, 0.5f);
    Fade = 0.8f;
    Updates(game, 10);
    EXPECT_NEAR(Fade, 0.7f, 1e-5f);
    Updates(game, 100);
    EXPECT_EQ(Fade, 0.5f);
    SetTasksPaused(false);
    Updates(game, 10);
    EXPECT_NEAR(Fade, 0.6f, 1e-5f);
    Updates(game, 100);
    EXPECT_EQ(Fade, 1.0f);
}

TEST(GameStates, GameOverAsksForANameOnlyForAHighScoreThenShowsGameOverAndTheHallOfFame) {
    GameDriver game;
    QuietScoreService quiet;
    const struct {
        int score;
        bool hallOfFame;
        bool nameEntry;
        // The clock is paused when the last ship goes: the end of the game
        // goes on to the name entry or the message all the same.
        bool paused;
    } cases[] = {
        {5000, true, false, false}, {5001, true, true, false}, {4000, false, false, false},
        {6000, false, false, true}, {9000, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.score) + (c.hallOfFame ? " with" : " without") + " the hall of fame" +
                     (c.paused ? ", paused" : ""));
        StartFrom(game, "instructions1=True\nlevelIndex=2");
        HALL_OF_FAME_ENABLED = c.hallOfFame;
        game.Frame(3);
        Score = c.score;
        LoseAllShips();
        ASSERT_EQ(gameState, STATE_GAME_OVER);
        EXPECT_EQ(GameScheduler->Pending(), 0);

        SetTasksPaused(c.paused);
        game.Frame();
        SetTasksPaused(false);
        if (c.nameEntry) {
            ASSERT_EQ(gameState, STATE_GAME_OVER + 1);
            EXPECT_EQ(GuiMode, GUI_MODE_NAME);
            // Waiting for the keyboards, the scene dims to half, paused or not.
            SetTasksPaused(true);
            Updates(game, 30);
            SetTasksPaused(false);
            Updates(game, 30);
            EXPECT_EQ(gameState, STATE_GAME_OVER + 1);
            EXPECT_EQ(Fade, 0.5f);
            // The keyboards end the entry so.
            gameState = STATE_GAME_OVER + 2;
        } else {
            ASSERT_EQ(gameState, STATE_GAME_OVER + 2);
            EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
        }
        ExpectHeldWhilePaused(game);
        game.Frame();
        ASSERT_EQ(gameState, STATE_GAME_OVER + 3);
        EXPECT_EQ(LevelBanner->Main->Text, "GAME OVER");
        EXPECT_EQ(LevelBanner->Main->Font, kestrum::framework::Content->GetFont(TextFont, 64));
        EXPECT_EQ(LevelBanner->Data.size(), 1u);
        EXPECT_EQ(LevelBanner->Data.front()->Duration, 6000);

        // The message shows from 600 ms on for six seconds, fades in 20
        // updates, and then the menu opens on the hall of fame.
        const int updates = UpdatesUntil(game, STATE_PLAY);
        EXPECT_NEAR(updates, (600 + 6000) * 60 / 1000 + 21, 2);
        EXPECT_FALSE(LevelBanner->Enabled());
        EXPECT_EQ(GuiMode, GUI_MODE_PAUSE);
        EXPECT_TRUE(TasksPaused());
        EXPECT_EQ(Score, c.score);
        // The game rests there, dimmed, until the menu starts a new game.
        Updates(game, 60);
        EXPECT_EQ(gameState, STATE_PLAY);
        EXPECT_EQ(Fade, 0.5f);

        SetTasksPaused(false);
        GuiMode = GUI_MODE_PLAY;
        HALL_OF_FAME_ENABLED = true;
    }
}

TEST(GameStates, TheResetDialogStartsANewGameAtLevelOne) {
    GameDriver game;
    StartFrom(game, "instructions1=True\nlevelIndex=9");
    game.Frame(3);
    Score = 4321;
    WeaponLevel = 2;
    GuiMode = GUI_MODE_PAUSE;
    SetTasksPaused(true);
    const auto dialog = std::make_shared<Dialog>();
    dialog->LeftButton = std::make_shared<kestrum::gui::GuiButton>();
    dialog->RightButton = std::make_shared<kestrum::gui::GuiButton>();
    dialog->LeftButton->Released = true;
    GuiRoots[GUI_MODE_PAUSE]->Modal = dialog;

    // The new game's first step runs in the same update, while still paused.
    game.Frame();
    EXPECT_EQ(gameState, STATE_NEW_GAME + 1);
    EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
    EXPECT_EQ(Fade, 0.0f);
    EXPECT_TRUE(Saved("levelIndex=1"));
    game.Frame();
    EXPECT_EQ(gameState, STATE_PLAY);
    EXPECT_FALSE(TasksPaused());
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(WeaponLevel, 0);
    EXPECT_EQ(GameScheduler->Pending(), 0);

    // The screen starts anew and builds the saved level, fading in from black.
    int frames = 0;
    while (!(LevelBanner && LevelBanner->Main->Text == "LEVEL 1") && frames < 5) {
        game.Frame();
        ++frames;
    }
    EXPECT_LE(frames, 2);
    EXPECT_EQ(levelIndex, 1);
    EXPECT_EQ(ShipsAlive, 14);
    EXPECT_EQ(GameScheduler->Pending(), 25);
    EXPECT_LT(Fade, 0.05f);
    Updates(game, 101);
    EXPECT_EQ(Fade, 1.0f);
}

TEST(GameStates, ReplayStartsANewGameAtTheSavedLevelOrTheTutorial) {
    GameDriver game;
    QuietScoreService quiet;
    for (const char* prefs : {"instructions1=True\nlevelIndex=6", ""}) {
        SCOPED_TRACE(prefs);
        StartFrom(game, prefs);
        game.Frame(3);
        LoseAllShips();
        UpdatesUntil(game, STATE_PLAY);
        ASSERT_TRUE(TasksPaused());
        // The menu's "replay".
        GuiMode = GUI_MODE_PLAY;
        gameState = STATE_NEW_GAME;
        game.Frame(4);
        EXPECT_FALSE(TasksPaused());
        EXPECT_EQ(gameState, STATE_PLAY);
        EXPECT_EQ(levelIndex, prefs[0] ? 6 : 0);
        EXPECT_EQ(ShipsAlive, prefs[0] ? 8 : 3);
    }
}

TEST(GameStates, TheCompletionShowsTheClosingTextsAndSavesLevelOne) {
    GameDriver game;
    StartFrom(game, "instructions1=True\nlevelIndex=20");
    game.Frame();
    ShipsAlive = 3;
    Score = 100;
    gameState = STATE_COMPLETED;
    ExpectHeldWhilePaused(game);
    SoundProbe gratz(Voices[6]);
    game.Frame();
    EXPECT_EQ(gameState, STATE_GAME_OVER + 1);
    EXPECT_EQ(gratz.Plays(), 1);
    EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
    EXPECT_EQ(Score, 160);
    EXPECT_EQ(levelIndex, -1);
    EXPECT_TRUE(Saved("levelIndex=1"));
    ASSERT_EQ(LevelBanner->Data.size(), 2u);
    EXPECT_EQ(LevelBanner->Data[0]->Text, morvane::locale::Localize("end_youmadeit"));
    EXPECT_EQ(LevelBanner->Data[0]->Duration, 4000);
    EXPECT_EQ(LevelBanner->Data[1]->Text, morvane::locale::Localize("end_thankyou"));
    EXPECT_EQ(LevelBanner->Data[1]->Duration, 7000);
    EXPECT_EQ(LevelBanner->Location(), (platform::Vec2f{568, 320}));

    // Play would enter it once the level index reached the end of the table.
    game.Reset();
    game.StartPlay();
    levelIndex = LevelCount;
    game.Frame();
    EXPECT_EQ(gameState, STATE_GAME_OVER + 1);
}
