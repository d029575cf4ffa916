// The Game screen's frame through the real screen manager: the schedulers,
// the level-up when no enemy is left, the flash, the music switch, minimise
// and restore, closing the window and the Escape key, and a tap (a press and
// its release in one frame) on every kind of button.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "kestrum-framework/taskmanager.h"
#include "kestrum-gui/guilayer.h"
#include "kestrum-scenegraph/layer.h"
#include "platform/app.h"
#include "platform/files.h"
#include "platform/input.h"
#include "zandrovia/button.h"
#include "zandrovia/constants.h"
#include "zandrovia/dialog.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/emailkeyboard.h"
#include "zandrovia/globals.h"
#include "zandrovia/namekeyboard.h"
#include "zandrovia/soundscheduler.h"
#include "zandrovia/taskscheduler.h"
#include "zandrovia/togglebox.h"
#include "zandrovia/zandrovia.h"

namespace {

using gamedriver::GameDriver;
using kestrum::framework::SetTasksPaused;
using kestrum::framework::TasksPaused;
using platform::WindowEvent;

std::string PrefsFile() { return GameDriver::HomeDir() + ".zandrovia.pref.dat"; }

// Replaces a switch of the pause menu for one scope.
struct Toggle {
    std::shared_ptr<ToggleBox>& slot;
    std::shared_ptr<ToggleBox> saved;
    Toggle(std::shared_ptr<ToggleBox>& which, int frame) : slot(which), saved(which) {
        slot = std::make_shared<ToggleBox>();
        slot->Frame = frame;
    }
    ~Toggle() { slot = saved; }
};

using kestrum::gui::GuiObject;
using WidgetFinder = std::function<std::shared_ptr<GuiObject>()>;

// The pause menu as its button opens it: the menu's mode, the clock paused.
void OpenPauseMenu() {
    GuiMode = GUI_MODE_PAUSE;
    SetTasksPaused(true);
}

WidgetFinder PauseWidget(const char* name) {
    return [name] { return GuiRoots[GUI_MODE_PAUSE]->GetObject(name); };
}

// The reset dialog's "no" (null while no dialog is open).
std::shared_ptr<GuiObject> DialogNo() {
    const auto dialog = std::dynamic_pointer_cast<Dialog>(GuiRoots[GUI_MODE_PAUSE]->Modal);
    return dialog ? std::static_pointer_cast<GuiObject>(dialog->RightButton) : nullptr;
}

// The widget's centre in window coordinates (the GUI maps 1:1).
platform::Vec2i At(GuiObject& widget) { return platform::Vec2i(GameDriver::Centre(widget)); }

}  // namespace

TEST(GameFrame, SchedulersRunOnTheTaskClockAndStandStillWhilePaused) {
    GameDriver game;
    auto task = std::make_shared<kestrum::framework::Task>();
    GameScheduler->Add(task, 100);
    game.Frame(6);  // 100 ms: due only once the clock is past it
    EXPECT_FALSE(task->Enabled());
    game.Frame();
    EXPECT_TRUE(task->Enabled());

    GameScheduler->Add(task, 100);
    SetTasksPaused(true);
    game.Frame(60);
    EXPECT_FALSE(task->Enabled());
    SetTasksPaused(false);
    game.Frame(7);
    EXPECT_TRUE(task->Enabled());

    // The sound scheduler plays at the sound switch's master volume.
    const auto beep = std::make_shared<platform::Sound>(std::vector<std::int16_t>(80000), 1, 8000);
    {
        Toggle sound(SoundToggle, 1);
        GameSoundScheduler->Add(beep, 0, 0.5f, 1, 0, 0, 0);
        game.Frame(3);
        EXPECT_FALSE(GameSoundScheduler->LastChannel());
    }
    GameSoundScheduler->Add(beep, 0, 0.5f, 1, 0, 0, 0);
    game.Frame(3);
    ASSERT_TRUE(GameSoundScheduler->LastChannel());
    EXPECT_FLOAT_EQ(GameSoundScheduler->LastChannel()->Volume(), 0.5f);
}

TEST(GameFrame, LevelUpWhenNoEnemyIsLeftAndTheFlashFades) {
    GameDriver game;
    game.StartPlay();
    game.Frame();
    EXPECT_EQ(AttackersLeft, 0);
    // The state machine runs the level-cleared step in the same update.
    EXPECT_EQ(gameState, STATE_LEVEL_UP + 1);
    // Other states are left alone.
    gameState = STATE_GAME_OVER + 1;
    game.Frame();
    EXPECT_EQ(gameState, STATE_GAME_OVER + 1);

    Flash = 1;
    game.Frame(10);
    EXPECT_NEAR(Flash, 0.9f, 1e-4f);
    SetTasksPaused(true);
    game.Frame(10);
    EXPECT_NEAR(Flash, 0.9f, 1e-4f);
    SetTasksPaused(false);
    // It may end just below 0 and then stays there.
    Flash = 0.005f;
    game.Frame(2);
    EXPECT_NEAR(Flash, -0.005f, 1e-6f);
    // A flash draws white over the scene, the fade black.
    Flash = 1;
    auto pixels = game.Render();
    EXPECT_GT(pixels->GetPixelARGB(600, 300) & 0xFFu, 0x70u);
    Flash = 0;
    Fade = 0;
    pixels = game.Render();
    EXPECT_EQ(pixels->GetPixelARGB(600, 300) & 0xFFFFFFu, 0u);
}

TEST(GameFrame, TheMusicSwitchRestartsOrStopsTheMusic) {
    GameDriver game;
    ASSERT_TRUE(Music);
    OpenPauseMenu();
    game.Frame();
    game.Click(*MusicToggle);
    ASSERT_TRUE(MusicChannel);
    EXPECT_FALSE(MusicChannel->Playing());
    game.Frame(5);
    EXPECT_FALSE(MusicChannel->Playing());  // only a click switches it
    const auto stopped = MusicChannel;
    game.Click(*MusicToggle);
    EXPECT_NE(MusicChannel, stopped);
    EXPECT_TRUE(MusicChannel->Playing());
    SetTasksPaused(false);
}

// The switch's release and the Escape that closes the menu in one frame:
// the menu does not run again to clear the switch's one-frame flag, which
// must not go on switching the music.
TEST(GameFrame, TheMusicSwitchReleasedAsEscapeClosesTheMenuSwitchesOnce) {
    GameDriver game;
    OpenPauseMenu();
    MusicToggle->Frame = 1;
    game.Frame();
    const platform::Vec2i at = At(*MusicToggle);
    game.Press(at.x, at.y);
    game.Frame();
    game.Release(at.x, at.y);
    game.KeyDown(platform::Key::Escape);
    game.Frame();
    game.KeyUp(platform::Key::Escape);
    EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
    EXPECT_TRUE(MusicOn());
    const auto started = MusicChannel;
    ASSERT_TRUE(started);
    int restarts = 0;
    for (int frame = 0; frame < 30; ++frame) {
        const auto before = MusicChannel;
        game.Frame();
        restarts += MusicChannel != before;
    }
    EXPECT_EQ(restarts, 0);
    EXPECT_EQ(MusicChannel, started);
    EXPECT_TRUE(MusicChannel->Playing());
}

// The reset dialog is polled in the frame after its button's release, also
// when Escape closed the menu in between; it closes itself, so the click
// acts once.
TEST(GameFrame, TheDialogsNoReleasedAsEscapeClosesTheMenuActsOnce) {
    GameDriver game;
    game.HoldPlay = true;
    OpenPauseMenu();
    OpenResetDialog();
    game.Frame();
    const auto dialog = std::dynamic_pointer_cast<Dialog>(GuiRoots[GUI_MODE_PAUSE]->Modal);
    ASSERT_TRUE(dialog);
    const platform::Vec2i at = At(*dialog->RightButton);
    game.Press(at.x, at.y);
    game.Frame();
    game.Release(at.x, at.y);
    game.KeyDown(platform::Key::Escape);
    game.Frame();
    game.KeyUp(platform::Key::Escape);
    game.Frame();
    EXPECT_FALSE(GuiRoots[GUI_MODE_PAUSE]->Modal);
    EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
    EXPECT_EQ(gameState, STATE_PLAY);
    // The menu opened again shows no dialog and takes clicks.
    OpenPauseMenu();
    game.Frame(2);
    EXPECT_FALSE(GuiRoots[GUI_MODE_PAUSE]->Modal);
    game.Click(*SoundToggle);
    EXPECT_EQ(SoundToggle->Frame, 1);
    SetTasksPaused(false);
}

TEST(GameFrame, MinimiseHoldsTheClockWithOrWithoutMusicAndRestoreGivesThePauseBack) {
    const struct {
        bool music;
        bool paused;
    } cases[] = {{true, false}, {true, true}, {false, false}, {false, true}};
    for (const auto& c : cases) {
        GameDriver game;
        const platform::SoundPtr music = Music;
        if (!c.music) Music = nullptr;
        SetTasksPaused(c.paused);
        game.Frame();
        const int before = kestrum::framework::TaskTime();
        game.Window(WindowEvent::Minimized);
        EXPECT_TRUE(TasksPaused()) << c.music << c.paused;
        if (c.music) {
            EXPECT_TRUE(MusicChannel->Paused());
        }
        game.Frame(30);  // no frames are drawn while minimised; the clock moves on outside
        EXPECT_EQ(kestrum::framework::TaskTime(), before);
        game.Window(WindowEvent::Restored);
        EXPECT_EQ(TasksPaused(), c.paused) << c.music << c.paused;
        if (c.music) {
            EXPECT_FALSE(MusicChannel->Paused());
        }
        SetTasksPaused(false);
        Music = music;
    }
}

TEST(GameFrame, CloseAndEscapeSaveTheProgressOrEscapeClosesThePauseMenu) {
    GameDriver game;
    std::remove(PrefsFile().c_str());
    levelIndex = 7;
    game.Window(WindowEvent::Close);
    EXPECT_EQ(game.Terminations(), 1);
    EXPECT_NE(platform::LoadString(PrefsFile()).find("levelIndex=7"), std::string::npos);

    // Escape while the clock runs (play, level changes, game over, entry): save and end.
    for (const int state : {STATE_PLAY, STATE_LEVEL_UP + 1, STATE_GAME_OVER + 1}) {
        GameDriver running;
        std::remove(PrefsFile().c_str());
        gameState = state;
        levelIndex = 4;
        running.Key(platform::Key::Escape);
        EXPECT_EQ(running.Terminations(), 1) << state;
        EXPECT_NE(platform::LoadString(PrefsFile()).find("levelIndex=4"), std::string::npos) << state;
    }

    // In the pause menu Escape closes the menu and resumes; a second one ends.
    GameDriver paused;
    std::remove(PrefsFile().c_str());
    GuiMode = GUI_MODE_PAUSE;
    SetTasksPaused(true);
    paused.Key(platform::Key::Escape);
    EXPECT_EQ(paused.Terminations(), 0);
    EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
    EXPECT_FALSE(TasksPaused());
    EXPECT_EQ(platform::GetFileType(PrefsFile()), platform::FileType::None);
    paused.Key(platform::Key::Escape);
    EXPECT_EQ(paused.Terminations(), 1);
}

// A touchpad's tap sends the press and the release at once: the buttons see
// the press held for a frame and the release in the next, so each kind of
// button takes the tap as one click.
TEST(GameFrame, ATapWhosePressAndReleaseFallInOneFrameClicksEveryKindOfButton) {
    const auto nameKey = [](const char* name) -> WidgetFinder {
        return [name] { return NameEntry->GetObject(name); };
    };
    const auto naming = [] {
        gameState = STATE_GAME_OVER + 1;
        GuiMode = GUI_MODE_NAME;
        NameDisplay->Text("");
    };
    const struct {
        const char* button;
        std::function<void()> arrange;
        WidgetFinder widget;
        std::function<bool()> clicked;
    } cases[] = {
        {"pause button", [] {}, [] { return std::static_pointer_cast<GuiObject>(PauseButton); },
         [] { return GuiMode == GUI_MODE_PAUSE && TasksPaused(); }},
        {"menu's close", OpenPauseMenu, PauseWidget("close"),
         [] { return GuiMode == GUI_MODE_PLAY && !TasksPaused(); }},
        {"sound switch", OpenPauseMenu, PauseWidget("sound"), [] { return SoundToggle->Frame == 1; }},
        {"dialog's no",
         [] {
             OpenPauseMenu();
             OpenResetDialog();
         },
         DialogNo, [] { return !GuiRoots[GUI_MODE_PAUSE]->Modal && GuiMode == GUI_MODE_PAUSE; }},
        {"letter key", naming, nameKey("a"), [] { return NameDisplay->Text() == "A"; }},
        {"skip key", naming, nameKey(" skip "),
         [] { return GuiMode == GUI_MODE_PLAY && gameState > STATE_GAME_OVER + 1; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        GameDriver game;
        game.HoldPlay = true;
        c.arrange();
        game.Frame();
        const std::shared_ptr<GuiObject> widget = c.widget();
        ASSERT_TRUE(widget);
        const platform::Vec2i at = At(*widget);
        game.Press(at.x, at.y);
        game.Release(at.x, at.y);
        game.Frame(3);
        EXPECT_TRUE(c.clicked());
        SetTasksPaused(false);
    }
}

// A player still holding the button from a drag when a menu, a keyboard or
// the dialog opens, who lets go over one of its buttons, has not clicked it,
// even when the button opened right under the pointer; the next real click
// on it works.
TEST(GameFrame, APressHeldWhileTheGuiSwitchesIsNoClickOnTheNewWidgets) {
    const struct {
        const char* gui;
        // Before the press, and while it is held.
        std::function<void()> before;
        std::function<void(GameDriver&)> during;
        WidgetFinder widget;
        std::function<bool()> clicked;
    } cases[] = {
        {"hall of fame after the game's end", [] {},
         [](GameDriver& game) {
             Score = 0;
             gameState = STATE_GAME_OVER;
             game.DrawEvery = 8;
             while (GuiMode != GUI_MODE_PAUSE && game.Frames() < 2000) game.Frame();
             game.DrawEvery = 1;
         },
         PauseWidget("replay"), [] { return GuiMode == GUI_MODE_PLAY && !TasksPaused(); }},
        {"name keyboard after a high score", [] {},
         [](GameDriver& game) {
             Score = 6000;
             NameDisplay->Text("");
             gameState = STATE_GAME_OVER;
             game.Frame();
         },
         [] { return NameEntry->GetObject("a"); }, [] { return NameDisplay->Text() == "A"; }},
        {"e-mail keyboard", [] {},
         [](GameDriver&) {
             gameState = STATE_GAME_OVER + 1;
             GuiMode = GUI_MODE_EMAIL;
         },
         [] { return EmailEntry->GetObject(" ok "); }, [] { return GuiMode == GUI_MODE_PLAY; }},
        {"pause menu", [] {}, [](GameDriver&) { OpenPauseMenu(); }, PauseWidget("sound"),
         [] { return SoundToggle->Frame == 1; }},
        {"reset dialog over the menu", OpenPauseMenu, [](GameDriver&) { OpenResetDialog(); }, DialogNo,
         [] { return !GuiRoots[GUI_MODE_PAUSE]->Modal; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gui);
        GameDriver game;
        game.HoldPlay = true;
        c.before();
        game.Frame();
        // Where the widget will show, or where it is not.
        const std::shared_ptr<GuiObject> early = c.widget();
        const platform::Vec2i start = early ? At(*early) : platform::Vec2i{60, 600};
        game.Press(start.x, start.y);
        game.Frame();
        c.during(game);
        game.Frame();
        const std::shared_ptr<GuiObject> widget = c.widget();
        ASSERT_TRUE(widget);
        const platform::Vec2i at = At(*widget);
        game.Move(at.x, at.y);
        game.Frame();
        game.Release(at.x, at.y);
        game.Frame(3);
        EXPECT_FALSE(c.clicked());
        game.Click(*widget);
        game.Frame();
        EXPECT_TRUE(c.clicked());
        SetTasksPaused(false);
    }
}
