// The headless game driver: the real program (application, screen manager,
// loader and Game screen) running offscreen, frame by frame, under a clock
// and input that the caller scripts.
//
// The first driver of a process starts the program as main() would, in a
// fresh home folder and with a score service that refuses at once (unless
// ZANDROVIA_SCORE_SERVICE_URL names one), and runs the loader into the
// Game screen; every driver after that reuses it. Each driver installs a
// fake millisecond clock that advances by 1000/60 ms per frame and puts
// play back to a clean start (Reset), so that every run draws the same
// random numbers and ends the same way. Mouse, keys and window events go
// through the platform's input devices and the window's event handlers, as
// the platform's event loop would feed them.
//
// Input can be recorded: while a recording is open, every input call
// (Press, Move, Release, KeyDown, KeyUp, Window, Skip) is written to a text
// file as a line "<frame> <event> <values>", the frame being Frames() when
// it was given, and the file ends with "<frame> end". Replay gives the same
// calls at the same frames, so a run replayed from the same start reaches
// the same state (State).
//
// Used by the game's tests, the frame benchmark and soak programs; it makes
// no checks of its own.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include "platform/audio.h"
#include "platform/image.h"
#include "platform/types.h"
#include "support/fakeclock.h"

class Player;

namespace kestrum::scenegraph {
class LayerObject;
}

namespace kestrum::gui {
class GuiObject;
}

namespace gamedriver {

// What a run of play has come to: enough to tell two runs apart.
struct PlayState {
    int score = 0;
    int level = 0;
    int ships = 0;
    int state = 0;
    // Over the kind and position of every object filed in the scene's layers.
    std::uint64_t positions = 0;

    bool operator==(const PlayState&) const = default;
    std::string ToString() const;
};

class GameDriver {
public:
    GameDriver();
    ~GameDriver();
    GameDriver(const GameDriver&) = delete;
    GameDriver& operator=(const GameDriver&) = delete;

    // Keeps play running without enemies: during each frame a waiting enemy
    // (KeepLevelOpen) keeps the level from being cleared.
    bool HoldPlay = false;
    // Puts into GameLayer, or takes out of it, an enemy that keeps the level
    // open and that nothing else sees: a disabled spider without images,
    // never scheduled, drawn, hit or targeted. For callers that run the Game
    // screen's hooks themselves.
    void KeepLevelOpen(bool open);

    // Runs count frames: each moves the clock to the next 1000/60 ms step and
    // runs one pass of the platform's main loop (events, then one update and
    // one render of the Game screen).
    void Frame(int count = 1);
    // Long runs: only every DrawEvery-th frame is drawn; the others run the
    // Game screen's update alone, as the screen manager would, and end the
    // frame on the mouse as the loop does (a frame that starts or stops a
    // screen runs in full).
    int DrawEvery = 1;
    // Moves the clock to the next frame step without running a frame, for
    // callers that run the Game screen's hooks themselves.
    void Tick();
    // Frames run by this driver.
    int Frames() const { return frames_; }
    // The fake clock's milliseconds (the task clock runs from it).
    std::int64_t Now() const { return clock_.now; }
    // Moves the clock ms further at the next frame step, as if that much
    // time had passed between two frames (everything scheduled within it
    // falls due at once).
    void Skip(int ms);

    // The left mouse button and the pointer, at window coordinates. A
    // pointer that the game moved before stays where this input puts it.
    void Press(int x, int y);
    void Move(int x, int y);
    void Release(int x, int y);
    // A click on the widget's centre (the GUI maps 1:1 to the window):
    // press, a frame, release, a frame, and a frame for the pointer move
    // that the release may send back (every release while the clock runs
    // returns the system pointer to where its press began).
    void Click(kestrum::gui::GuiObject& widget);
    // The widget's centre in its layer's coordinates.
    static platform::Vec2f Centre(kestrum::gui::GuiObject& widget);
    // A key held down until KeyUp; Key presses it for one frame.
    void KeyDown(int key);
    void KeyUp(int key);
    void Key(int key);
    // A window event (platform::WindowEvent types) as the event loop sends it.
    void Window(int type);
    // Times the program asked to end (Escape, closing the window).
    int Terminations() const { return terminations_; }

    // Play back at a clean start: layers and schedulers emptied, pools
    // free, every play value as a new game sets it, no level built, no
    // dialog over the pause menu and its sound and music on, no press held
    // in the GUI, the clock at 0 and running, input released, the random
    // numbers from their start.
    void Reset();
    // Play is on: the play state and a level banner that has faded out, so
    // ships fire and collect once they exist.
    void StartPlay();
    // A ship of the squadron on start spot index (0 to 13).
    std::shared_ptr<Player> AddShip(int spot);
    // A level's backdrop and ground strip (InitBackground).
    void BuildGround();

    // Starts writing the input to path (a recording already open is closed
    // first); false when the file cannot be made.
    bool Record(const std::string& path);
    // Writes the end line and closes the recording.
    void StopRecording();
    // Gives the input of a recording from Frames() on: runs frames until
    // each event's frame is reached, gives it, and ends at the end line.
    // False, with the reason in error, when the file cannot be read or has
    // a line that is not an event.
    bool Replay(const std::string& path, std::string* error = nullptr);

    // The state of play now.
    static PlayState State();
    // Each pool's free slots out of its size and the live particles, as
    // "18/18 8/8 14/14 16/16 256/256 live 0" (player shots, attacker shots,
    // tank shots, trails, particles).
    static std::string PoolReport();
    // Whether every pool is free and no particle lives.
    static bool PoolsFull();
    // The process's resident set in kB: now, and its peak so far.
    static long ResidentKb();
    static long PeakResidentKb();

    // The Game screen drawn once into an offscreen image of the window's
    // size, without updating; the pixels are read back.
    std::shared_ptr<platform::Pixmap> Render();
    // Render saved as a PNG; false when it could not be written.
    bool Screenshot(const std::string& path);
    // Draw calls of the window's last frame.
    int DrawCalls() const;
    // The home folder of the process, where the preferences are saved.
    static std::string HomeDir();

private:
    // One line of the recording, when one is open.
    void Log_(const std::string& event);
    // Settles the pointer moves that the game made before input is given.
    void Deliver_();

    std::ofstream recording_;
    testsupport::FakeClock clock_;
    int frames_ = 0;
    std::int64_t skipped_ = 0;
    std::shared_ptr<kestrum::scenegraph::LayerObject> keeper_;
    int terminations_ = 0;
    bool minimised_ = false;
};

// Counts the plays of one of the game's sounds: for its lifetime the sound
// global is replaced by a minute of silence, whose channels stay alive, so
// every play started since is still holding it.
class SoundProbe {
public:
    explicit SoundProbe(platform::SoundPtr& slot);
    ~SoundProbe();
    SoundProbe(const SoundProbe&) = delete;
    SoundProbe& operator=(const SoundProbe&) = delete;

    // Plays started since the probe was made.
    int Plays() const;

private:
    platform::SoundPtr& slot_;
    platform::SoundPtr saved_;
    platform::SoundPtr silence_;
};

}  // namespace gamedriver
