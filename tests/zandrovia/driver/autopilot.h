// A headless player for long runs of the whole game: it plays the real Game
// screen through the driver's input alone (mouse drags, clicks and keys) and
// lets the real state machine carry play from level to level and from game
// to game.
//
// In play it drags the current ship above the nearest enemy, or onto the
// nearest pick-up or man, clicks another ship now and then (and whenever
// the current one is lost), and after a number of levels in one game flies
// the whole squadron into the ground, so that the game ends. A level that
// takes too long is helped on with the developer keys (CheatKeys, turned on
// while the autopilot lives): the nuke first, then the key that skips to
// the next level. Neither the skip nor the end of a game comes while a boss
// of the level still waits in the scheduler, so every boss gets to play.
//
// Now and then it visits the pause menu with the pointer: the pause button
// opens it, the sound and the music are switched off and on again, and the
// visit ends in turn with Escape, with the reset dialog cancelled ("no")
// and the menu's close button, or with the reset dialog confirmed ("yes",
// which starts a new game at level 1; by default only once every level was
// played since the last confirmation, so that a long run still goes
// through all of them). A game over that asks for a name gets one typed on
// the name keyboard and an e-mail address on the e-mail keyboard, each
// ended with OK (every fourth time the name is skipped); the hall of fame
// that follows starts a new game with its restart button, which resumes at
// the saved level.
//
// Every input goes through GameDriver, so a run can be recorded and
// replayed. The autopilot makes no checks; it counts what happened.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "zandrovia/driver/gamedriver.h"

namespace kestrum::gui {
class GuiObject;
}

namespace gamedriver {

class Autopilot {
public:
    struct Options {
        // Frames of play in one level (over all the games that play it)
        // before the nuke key helps; at twice this the level is skipped,
        // but not while a boss of the level still waits (up to eight times
        // this), and with a boss in play only once the current game has
        // played the level for bossFrames (the last boss of a level comes
        // after 65 s) or at four times this.
        int levelFrames = 1200;
        int bossFrames = 4500;
        // Levels played in one game before the squadron is flown into the ground.
        int levelsPerGame = 6;
        // Frames between two deliberate switches of the current ship.
        int switchFrames = 900;
        // Frames of play between two visits of the pause menu; 0 for none.
        int menuFrames = 2400;
        // The reset dialog is confirmed only once every level was played
        // since the last confirmation (else at every third visit), and
        // never while a boss of the level waits.
        bool confirmAfterPass = true;
    };

    // What a run has seen so far.
    struct Stats {
        int frames = 0;
        std::set<int> levels;    // every level index played
        int levelChanges = 0;    // level builds by the level-up sequence
        int gamesStarted = 0;    // new games begun (the first included)
        int gameOvers = 0;
        int nameEntries = 0;     // game overs that asked for a name
        int spiderFrames = 0;    // frames with a boss of each kind in play
        int saucerFrames = 0;
        int switches = 0;        // clicks that made another ship current
        int pickupsTaken = 0;    // pick-ups that vanished while steered to
        int nukes = 0;           // level help by the developer keys
        int skips = 0;
        // The frame by which every level had been played (0: not yet).
        int passFrame = 0;
        // The pause menu: opened in play and closed back to play, the
        // switches flipped (each way), the reset dialog opened, cancelled
        // and confirmed.
        int menuOpens = 0;
        int menuCloses = 0;
        int soundToggles = 0;
        int musicToggles = 0;
        int resetDialogs = 0;
        int resetCancels = 0;
        int resetConfirms = 0;
        // The high-score entry: names confirmed with OK, addresses
        // confirmed with OK (each posts the score), names skipped, and the
        // hall of fame shown after a game.
        int namesGiven = 0;
        int emailsGiven = 0;
        int nameSkips = 0;
        int hallsOfFame = 0;
    };

    // A level change: the level built, the pools as it was built.
    struct LevelChange {
        int frame = 0;
        int level = 0;
        std::string pools;
        bool poolsFull = false;
    };

    explicit Autopilot(GameDriver& game);
    Autopilot(GameDriver& game, Options options);
    ~Autopilot();
    Autopilot(const Autopilot&) = delete;
    Autopilot& operator=(const Autopilot&) = delete;

    // A fresh start as the menu's new game makes it, without saved progress
    // (so the tutorial comes first). Call after the driver's Reset.
    void NewRun();
    // Gives this frame's input and runs one frame.
    void Step();
    void Run(int frames);

    const Stats& GetStats() const { return stats_; }
    // Called at each level change, in the frame that built the level.
    std::function<void(const LevelChange&)> OnLevelChange;

private:
    struct Point {
        float x = 0;
        float y = 0;
    };

    void Play_();
    void AfterGame_();
    // The pause menu's visit, queued as input steps of one frame each.
    void VisitMenu_();
    // The name (and address) typed after a game over, queued.
    void EnterName_();
    // A click on the widget that find gives when the step runs, provided
    // the GUI is in mode; otherwise the rest of the queue is dropped.
    void Click_(int mode, std::function<std::shared_ptr<kestrum::gui::GuiObject>()> find);
    // Clicks on the keys of text, on the keyboard of mode.
    void Type_(int mode, const std::string& text);
    // Whether a boss of the level is still waiting in the scheduler, or in play.
    static bool BossPending_();
    static bool BossInPlay_();
    // A key held for this frame and let go in the next.
    void Tap_(int key);
    // The current ship is flown towards target (GameLayer units).
    void Steer_(Point target);
    void StopDrag_();
    // Clicks a ship other than the current one; false when there is none.
    bool SwitchShip_();
    // Window point of a GameLayer point, through the camera's mapping.
    Point ToWindow_(Point layer) const;
    // A window point for a drag to start from: on no ship and clear of the
    // window's edges and the HUD.
    Point DragAnchor_() const;
    void Observe_();

    GameDriver& game_;
    Options options_;
    Stats stats_;
    bool savedCheatKeys_ = false;
    int keyUp_ = 0;  // key to let go next frame, 0 for none
    bool dragging_ = false;
    Point mouse_;
    int levelFrame_ = 0;
    int gameLevelFrame_ = 0;  // frames of the level in this game
    int levelsThisGame_ = 0;
    int sinceSwitch_ = 0;
    int waited_ = 0;
    int lastState_ = 0;
    // Input steps still to give, one a frame, before play goes on.
    std::deque<std::function<void()>> script_;
    Point clickAt_;
    int sinceMenu_ = 0;
    int menuVisits_ = 0;
    int entries_ = 0;
    std::set<int> sinceConfirm_;  // levels played since the last reset
    int lastGuiMode_ = 0;
    int lastSound_ = 0;
    int lastMusic_ = 0;
    bool lastDialog_ = false;
    // The pick-up being flown to.
    std::weak_ptr<kestrum::scenegraph::LayerObject> pickup_;
};

}  // namespace gamedriver
