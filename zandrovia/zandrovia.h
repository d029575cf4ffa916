// Zandrovia: the game module's start-up, the main window and the Game screen.
//
// Start-up runs in a fixed order: the modules initialise their globals, the
// application object is made, the preferences are read, the language is
// chosen from the system locale, the localization file is loaded, and the
// main window is made with its two screens; the Loader runs first and hands
// over to Game. Then the platform's loop runs for the rest of the process.
//
// Depends on every layer below.
#pragma once

#include <memory>
#include <string>

#include "kestrum-framework/screenmanager.h"
#include "platform/canvas.h"
#include "platform/input.h"

class Loader;

// The screen of play. RunOnce builds the world once per process: the scene
// with its camera and five layers, every pooled shot and particle, the
// screen shake, the laser, the ships' start spots, the GUI and the music.
// Each frame OnUpdate runs the schedulers, the scene, the GUI, the game
// states, the drag steering of the current ship and the laser and
// tracker targets (targeting.h); OnRender
// draws the scene, the flash and fade, the GUI and the mouse pointer.
// Minimising pauses the task clock; closing the window and Escape during
// play save the preferences (Escape then ends the program), while Escape in
// the pause menu closes the menu.
class Game : public kestrum::framework::Screen {
public:
    // The task clock's pause flag when the window was minimised, given back on restore.
    bool PausedBeforeMinimise = false;

    void RunOnce() override;
    void OnWindowEvent(platform::WindowEvent& event) override;
    void OnUpdate() override;
    void OnStart() override;
    void OnRender(platform::Canvas& canvas) override;
    void OnMouseEvent(platform::MouseEvent& event) override;
    void OnKeyEvent(platform::KeyEvent& event) override;

private:
    // The GUI roots of the four GUI modes and the mouse-pointer layer.
    void InitGui_();
    // One step of the game-state machine (gamestates.cpp) and its steps.
    void GameStates_();
    void LevelCleared_();
    void LevelChange_();
    void Completed_();
    void GameOverMessage_();
    void HallOfFame_();
    void NewGame_();
    // The score service's download of the hall of fame into the credits
    // box, and the box's rebuild for the menu that opens.
    void FetchHiscores_();
    void InitCredits_();
    // The drag steering of the current ship.
    void Swipe_();

    // A minimise is being held (a second one changes nothing).
    bool Minimised_ = false;
};

// The program window: a screen manager that makes the Game screen and then
// the Loader, which therefore runs first and hands over to Game.
class MainWindow : public kestrum::framework::ScreenManager {
public:
    MainWindow(const std::string& title, int width, int height, int flags);
    ~MainWindow() override;

    // With ZANDROVIA_FRAME_DUMP naming a folder, frames are also written
    // there (topNNN.png: each frame's top 32 rows; frameNNN.png: frames 1,
    // 17, 33, ... and the Game screen's; screens.txt: "N loader" or "N game"
    // per frame), and the program ends cleanly after the Game screen's second
    // frame: a way to watch start-up without a display.
    void OnRender(platform::Canvas& canvas) override;

    Loader* LoaderScreen() const { return Loader_.get(); }

private:
    std::unique_ptr<Loader> Loader_;
    std::string DumpFolder_;
    int Frame_ = 0;
    int GameFrames_ = 0;
};

// Step 1 of start-up: every module's initialiser, in the module order. Once.
void InitGameModule();
// Steps 2 to 7: the application object (unless one exists), the
// preferences, the language, the localization table and the main window.
void StartGame();
// The program's entry: start-up, then the main loop. Returns only when the
// loop ends; a second call returns at once.
int ZandroviaMain();

// Sets SystemLocale from the system and Language to "de" for a German
// locale; returns Language.
std::string DetectLanguage();
// "de" when the locale name contains "German" or "de_DE" (case-sensitive),
// or, as Windows names the user's locale, "de-DE"; else current.
std::string LanguageForLocale(const std::string& localeName, const std::string& current);
// Sets the C library's locale from the environment and returns its name.
std::string QuerySystemLocale();
// The horizontal DPI of display 0, truncated.
int GetDisplayDpi();
// value in decimal padded with zeros to digits characters (at most 9); the
// plain text for digits of 0 or less.
std::string ZeroPad(int value, int digits);
