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
// the next level. After a game over it waits for the hall of fame, closes
// the menu and starts a new game, which resumes at the saved level.
//
// Every input goes through GameDriver, so a run can be recorded and
// replayed. The autopilot makes no checks; it counts what happened.
#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>

#include "zandrovia/driver/gamedriver.h"

namespace gamedriver {

class Autopilot {
public:
    struct Options {
        // Frames of play in one level (over all the games that play it)
        // before the nuke key helps; at twice this the level is skipped once
        // the current game has played it for bossFrames (the last boss of
        // a level comes after a minute), at four times in any case.
        int levelFrames = 1800;
        int bossFrames = 3700;
        // Levels played in one game before the squadron is flown into the ground.
        int levelsPerGame = 6;
        // Frames between two deliberate switches of the current ship.
        int switchFrames = 900;
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
    // The pick-up being flown to.
    std::weak_ptr<kestrum::scenegraph::LayerObject> pickup_;
};

}  // namespace gamedriver
