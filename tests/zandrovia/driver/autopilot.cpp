// The autopilot.
#include "zandrovia/driver/autopilot.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "kestrum-framework/taskmanager.h"
#include "kestrum-gui/guigroup.h"
#include "kestrum-gui/guilayer.h"
#include "kestrum-scenegraph/camera.h"
#include "kestrum-scenegraph/layer.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/text.h"
#include "zandrovia/button.h"
#include "zandrovia/constants.h"
#include "zandrovia/dialog.h"
#include "zandrovia/emailkeyboard.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/levels.h"
#include "zandrovia/namekeyboard.h"
#include "zandrovia/objectkind.h"
#include "zandrovia/player.h"
#include "zandrovia/taskscheduler.h"
#include "zandrovia/togglebox.h"
#include "zandrovia/zandrovia.h"

namespace gamedriver {

namespace {

using kestrum::gui::GuiObject;
using kestrum::scenegraph::LayerObjectPtr;
using WidgetFinder = std::function<std::shared_ptr<GuiObject>()>;

// How the ship is flown: the speed it aims for per unit of distance, its
// top speed, and the longest mouse step of one frame (window pixels).
constexpr float kApproach = 0.05f;
constexpr float kTopSpeed = 7.0f;
constexpr float kLongestStep = 36.0f;
// Keeps drags and clicks away from the window's edges and the HUD.
constexpr float kMargin = 90.0f;
// Frames of waiting in the steps after a game before the autopilot acts.
constexpr int kPatience = 90;
// A level whose boss still waits is skipped only after this many times the
// level frames (a squadron that never lives to see the boss).
constexpr int kBossPatience = 8;
// A ship closer than this to a boss in play keeps away from it.
constexpr float kBossDistance = 450.0f;
// Past this many times the level frames a level is skipped once in a while
// even with a boss in play.
constexpr int kSkipAnyway = 4;

// What is typed after a game over: names on the name keyboard (letters,
// blank, "." and "-") and addresses on the e-mail keyboard.
const char* const kNames[] = {"ACE", "MAX.B", "JO KIM", "ZAND-RO"};
const char* const kAddresses[] = {"ACE@MAIL.TEST", "MAX_B@EXAMPLE.ORG", "JO-KIM@HOME.NET", "ZR@SOAK.TEST"};

// The key of a keyboard whose trimmed name is name (keys are named after
// their captions, blanks included), searched through the rows.
std::shared_ptr<GuiObject> FindKey(const std::shared_ptr<GuiObject>& object, const std::string& name) {
    if (!object) return nullptr;
    if (platform::Trim(object->Name) == name) return object;
    if (const auto group = std::dynamic_pointer_cast<kestrum::gui::GuiGroup>(object)) {
        for (const auto& member : group->Members) {
            if (auto found = FindKey(member, name)) return found;
        }
    }
    return nullptr;
}

// The key that types character c.
std::string KeyName(char c) {
    if (c == ' ') return "space";
    return std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
}

WidgetFinder PauseWidget(const std::string& name) {
    return [name]() -> std::shared_ptr<GuiObject> {
        const auto& root = GuiRoots[GUI_MODE_PAUSE];
        return root ? root->GetObject(name) : nullptr;
    };
}

std::shared_ptr<Dialog> OpenDialog() {
    const auto& root = GuiRoots[GUI_MODE_PAUSE];
    return root ? std::dynamic_pointer_cast<Dialog>(root->Modal) : nullptr;
}

// The reset dialog's "yes" (left) or "no" (right).
WidgetFinder DialogButton(bool yes) {
    return [yes]() -> std::shared_ptr<GuiObject> {
        const auto dialog = OpenDialog();
        if (!dialog) return nullptr;
        return yes ? dialog->LeftButton : dialog->RightButton;
    };
}

bool IsEnemy(ObjectKind kind) {
    switch (kind) {
        case ObjectKind::Attacker:
        case ObjectKind::Launcher:
        case ObjectKind::Rocket:
        case ObjectKind::Tank:
        case ObjectKind::Saucer:
        case ObjectKind::Spider:
        case ObjectKind::Crusher: return true;
        default: return false;
    }
}

bool InPlay(const LayerObjectPtr& object) { return object->Enabled() && object->Layer() == GameLayer.get(); }

std::vector<LayerObjectPtr> Ships() {
    std::vector<LayerObjectPtr> ships;
    ForEachObject(GameLayer.get(), [&](const LayerObjectPtr& object) {
        if (KindOf(object.get()) == ObjectKind::Player && InPlay(object)) ships.push_back(object);
    });
    return ships;
}

}  // namespace

Autopilot::Autopilot(GameDriver& game) : Autopilot(game, Options{}) {}

Autopilot::Autopilot(GameDriver& game, Options options) : game_(game), options_(options) {
    savedCheatKeys_ = CheatKeys;
    CheatKeys = true;
}

Autopilot::~Autopilot() {
    // A click cut short lets its button go, as a drag does.
    script_.clear();
    if (!dragging_ && platform::Mouse().ButtonDown(1)) {
        game_.Release(static_cast<int>(clickAt_.x), static_cast<int>(clickAt_.y));
    }
    StopDrag_();
    if (keyUp_ != 0) game_.KeyUp(keyUp_);
    CheatKeys = savedCheatKeys_;
}

void Autopilot::NewRun() {
    std::remove(PrefsPath().c_str());
    if (Prefs) Prefs->Clear();
    gameState = STATE_NEW_GAME;
    lastState_ = STATE_PLAY;
    lastGuiMode_ = GuiMode;
    lastSound_ = SoundToggle ? SoundToggle->Frame : 0;
    lastMusic_ = MusicToggle ? MusicToggle->Frame : 0;
    lastDialog_ = OpenDialog() != nullptr;
}

void Autopilot::Run(int frames) {
    for (int i = 0; i < frames; ++i) Step();
}

void Autopilot::Step() {
    if (keyUp_ != 0) {
        game_.KeyUp(keyUp_);
        keyUp_ = 0;
    }
    const bool paused = kestrum::framework::TasksPaused();
    if (!script_.empty()) {
        const std::function<void()> step = std::move(script_.front());
        script_.pop_front();
        step();
    } else if (gameState == STATE_PLAY && !paused && ShipsAlive > 0) {
        waited_ = 0;
        Play_();
    } else if (gameState == STATE_PLAY || gameState >= STATE_GAME_OVER) {
        AfterGame_();
    } else {
        // The level-up sequence and a new game run by themselves.
        StopDrag_();
    }
    game_.Frame();
    ++stats_.frames;
    Observe_();
}

void Autopilot::Play_() {
    ++levelFrame_;
    ++gameLevelFrame_;
    ++sinceSwitch_;
    ++sinceMenu_;
    if (options_.menuFrames > 0 && sinceMenu_ >= options_.menuFrames) {
        // A press on the pause button is a press of its own.
        sinceMenu_ = 0;
        StopDrag_();
        VisitMenu_();
        return;
    }
    // The end of a game: the squadron into the ground, one ship after the
    // other, without help for the level; not while a boss is to come. A
    // level is skipped at twice the level frames, but not while a boss of
    // it waits, and with a boss in play only once this game has played
    // the level for the boss frames.
    const bool bossPending = BossPending_();
    const bool ending = levelsThisGame_ >= options_.levelsPerGame && !bossPending;
    bool mayLeave = true;
    if (bossPending) {
        mayLeave = levelFrame_ > kBossPatience * options_.levelFrames;
    } else if (BossInPlay_()) {
        mayLeave = gameLevelFrame_ > options_.bossFrames || levelFrame_ > kSkipAnyway * options_.levelFrames;
    }
    const bool skip = !ending && mayLeave && levelFrame_ > 2 * options_.levelFrames;
    // Every 300 frames: the nuke, and half-way between two nukes the skip.
    if (skip && levelFrame_ % 300 == 150) {
        StopDrag_();
        Tap_(platform::Key::Space);
        ++stats_.skips;
        return;
    }
    if (!ending && levelFrame_ > options_.levelFrames && levelFrame_ % 300 == 0) {
        Tap_('n');
        ++stats_.nukes;
    }

    const std::shared_ptr<Player> ship = CurrentPlayer;
    if (!ship || !InPlay(ship) || (sinceSwitch_ > options_.switchFrames && ShipsAlive > 1)) {
        SwitchShip_();
        return;
    }

    const Point at{ship->X(), ship->Y()};
    const float ground = GroundLine();
    Point target{ViewWidth() * 0.5f, ViewHeight() * 0.3f};
    if (ending) {
        target = {at.x, ground + 40};
    } else {
        // A pick-up or man within reach first, else above the nearest enemy.
        float best = std::numeric_limits<float>::max();
        LayerObjectPtr collect;
        LayerObjectPtr enemy;
        float nearestEnemy = std::numeric_limits<float>::max();
        LayerObjectPtr boss;
        float nearestBoss = std::numeric_limits<float>::max();
        ForEachObject(GameLayer.get(), [&](const LayerObjectPtr& object) {
            if (!InPlay(object)) return;
            const ObjectKind kind = KindOf(object.get());
            const float distance = std::hypot(object->X() - at.x, object->Y() - at.y);
            if ((kind == ObjectKind::Pickup || kind == ObjectKind::Man) && distance < best && distance < 500) {
                best = distance;
                collect = object;
            } else if (IsEnemy(kind) && distance < nearestEnemy) {
                nearestEnemy = distance;
                enemy = object;
            }
            if ((kind == ObjectKind::Spider || kind == ObjectKind::Saucer) && distance < nearestBoss) {
                nearestBoss = distance;
                boss = object;
            }
        });
        const auto kept = pickup_.lock();
        if (kept && kept != collect && !InPlay(kept)) ++stats_.pickupsTaken;
        pickup_.reset();
        if (boss && nearestBoss < kBossDistance) {
            // A boss sprays shots all round: the ship keeps to the top
            // corner away from it.
            target = {boss->X() < ViewWidth() * 0.5f ? ViewWidth() * 0.85f : ViewWidth() * 0.15f, 0};
        } else if (collect) {
            if (KindOf(collect.get()) == ObjectKind::Pickup) pickup_ = collect;
            target = {collect->X(), collect->Y()};
        } else if (enemy) {
            target = {enemy->X(), enemy->Y() - 160};
        }
        target.y = std::clamp(target.y, 60.0f, ground - 140);
    }
    Steer_(target);
}

void Autopilot::AfterGame_() {
    StopDrag_();
    ++waited_;
    if (waited_ < kPatience) return;
    const bool paused = kestrum::framework::TasksPaused();
    if (GuiMode == GUI_MODE_NAME || GuiMode == GUI_MODE_EMAIL) {
        EnterName_();
        waited_ = 0;
    } else if (gameState == STATE_PLAY && paused && GuiMode == GUI_MODE_PAUSE) {
        // The hall of fame after a game: a new game with its restart button
        // (a dialog left open is cancelled first, a menu on a game still
        // in play closed).
        if (OpenDialog()) {
            Click_(GUI_MODE_PAUSE, DialogButton(false));
        } else if (ShipsAlive == 0) {
            Click_(GUI_MODE_PAUSE, PauseWidget("replay"));
        } else {
            Tap_(platform::Key::Escape);
        }
        waited_ = 0;
    } else if (gameState == STATE_GAME_OVER + 1 || (gameState == STATE_PLAY && !paused)) {
        // No name asked for, or a game without ships in play: a new game.
        Tap_('r');
        waited_ = 0;
    }
}

void Autopilot::VisitMenu_() {
    const int visit = menuVisits_++;
    Click_(GUI_MODE_PLAY, [] { return std::static_pointer_cast<GuiObject>(PauseButton); });
    if (visit % 3 != 2) {
        for (const char* name : {"sound", "sound", "music", "music"}) Click_(GUI_MODE_PAUSE, PauseWidget(name));
    }
    const auto escape = [this] {
        script_.push_back([this] {
            if (GuiMode == GUI_MODE_PAUSE && kestrum::framework::TasksPaused()) {
                Tap_(platform::Key::Escape);
            } else {
                script_.clear();
            }
        });
    };
    switch (visit % 3) {
        case 0: escape(); break;
        case 1:
            Click_(GUI_MODE_PAUSE, PauseWidget("reset"));
            Click_(GUI_MODE_PAUSE, DialogButton(false));
            Click_(GUI_MODE_PAUSE, PauseWidget("close"));
            break;
        default: {
            Click_(GUI_MODE_PAUSE, PauseWidget("reset"));
            // Not while a boss of the level waits: the reset would take
            // play away before it came.
            const bool confirm =
                !BossPending_() &&
                (!options_.confirmAfterPass || sinceConfirm_.size() == static_cast<std::size_t>(LevelCount));
            Click_(GUI_MODE_PAUSE, DialogButton(confirm));
            if (!confirm) escape();
            break;
        }
    }
}

void Autopilot::EnterName_() {
    const std::size_t entry = static_cast<std::size_t>(entries_++);
    const std::size_t pick = entry % std::size(kNames);
    const auto key = [](int mode, const std::string& name) {
        return [mode, name]() -> std::shared_ptr<GuiObject> {
            return FindKey(mode == GUI_MODE_NAME ? std::static_pointer_cast<GuiObject>(NameEntry)
                                                 : std::static_pointer_cast<GuiObject>(EmailEntry),
                           name);
        };
    };
    if (GuiMode == GUI_MODE_NAME) {
        Click_(GUI_MODE_NAME, key(GUI_MODE_NAME, "clear"));
        if (entry % 4 == 3) {
            // A few letters, then no name after all.
            Type_(GUI_MODE_NAME, "SK");
            Click_(GUI_MODE_NAME, key(GUI_MODE_NAME, "skip"));
            return;
        }
        Type_(GUI_MODE_NAME, kNames[pick]);
        Click_(GUI_MODE_NAME, key(GUI_MODE_NAME, "ok"));
    }
    Click_(GUI_MODE_EMAIL, key(GUI_MODE_EMAIL, "clear"));
    Type_(GUI_MODE_EMAIL, kAddresses[pick]);
    Click_(GUI_MODE_EMAIL, key(GUI_MODE_EMAIL, "ok"));
}

void Autopilot::Type_(int mode, const std::string& text) {
    for (const char c : text) {
        const std::string name = KeyName(c);
        Click_(mode, [mode, name]() -> std::shared_ptr<GuiObject> {
            return FindKey(mode == GUI_MODE_NAME ? std::static_pointer_cast<GuiObject>(NameEntry)
                                                 : std::static_pointer_cast<GuiObject>(EmailEntry),
                           name);
        });
    }
}

void Autopilot::Click_(int mode, std::function<std::shared_ptr<GuiObject>()> find) {
    // The press on the widget's centre, the release in the next frame, and
    // a frame for the pointer that the release sends back to the press.
    script_.push_back([this, mode, find = std::move(find)] {
        const bool valid =
            mode >= 0 && mode < static_cast<int>(GuiRoots.size()) && GuiRoots[static_cast<std::size_t>(mode)];
        const std::shared_ptr<GuiObject> widget = valid && GuiMode == mode ? find() : nullptr;
        if (!widget || !widget->Enabled()) {
            script_.clear();
            return;
        }
        // The widget's centre in its layer, and the layer's mapping of
        // window points, probed at two points.
        kestrum::gui::GuiLayer& layer = *GuiRoots[static_cast<std::size_t>(mode)];
        const auto [x, y] = GameDriver::Centre(*widget);
        const platform::Vec2f zero = layer.MapPointer({0, 0});
        const platform::Vec2f hundred = layer.MapPointer({100, 100});
        const float scaleX = (hundred.x - zero.x) / 100, scaleY = (hundred.y - zero.y) / 100;
        clickAt_ = {std::round(scaleX != 0 ? (x - zero.x) / scaleX : x),
                    std::round(scaleY != 0 ? (y - zero.y) / scaleY : y)};
        game_.Press(static_cast<int>(clickAt_.x), static_cast<int>(clickAt_.y));
    });
    script_.push_back([this] { game_.Release(static_cast<int>(clickAt_.x), static_cast<int>(clickAt_.y)); });
    script_.push_back([] {});
}

bool Autopilot::BossInPlay_() {
    bool boss = false;
    ForEachObject(GameLayer.get(), [&](const LayerObjectPtr& object) {
        const ObjectKind kind = KindOf(object.get());
        boss = boss || ((kind == ObjectKind::Spider || kind == ObjectKind::Saucer) && InPlay(object));
    });
    return boss;
}

bool Autopilot::BossPending_() {
    if (!GameScheduler) return false;
    for (int i = 0; i < GameScheduler->Pending(); ++i) {
        const auto task = GameScheduler->PendingTask(i);
        const auto* object = dynamic_cast<const kestrum::scenegraph::LayerObject*>(task.get());
        if (!object) continue;
        const ObjectKind kind = KindOf(object);
        if (kind == ObjectKind::Spider || kind == ObjectKind::Saucer) return true;
    }
    return false;
}

void Autopilot::Tap_(int key) {
    game_.KeyDown(key);
    keyUp_ = key;
}

void Autopilot::Steer_(Point target) {
    if (!dragging_) {
        mouse_ = DragAnchor_();
        game_.Press(static_cast<int>(mouse_.x), static_cast<int>(mouse_.y));
        dragging_ = true;
        return;
    }
    const std::shared_ptr<Player> ship = CurrentPlayer;
    Point desired{(target.x - ship->X()) * kApproach, (target.y - ship->Y()) * kApproach};
    const float speed = std::hypot(desired.x, desired.y);
    if (speed > kTopSpeed) desired = {desired.x * kTopSpeed / speed, desired.y * kTopSpeed / speed};
    // A drag adds a quarter of the pointer's move to the velocity, which
    // keeps 95% of itself each frame.
    const Point layerStep{(desired.x - ship->Velocity.x * 0.95f) * 4, (desired.y - ship->Velocity.y * 0.95f) * 4};
    const Point origin = ToWindow_({0, 0});
    const Point unit = ToWindow_({1, 1});
    Point step{layerStep.x * (unit.x - origin.x), layerStep.y * (unit.y - origin.y)};
    step.x = std::clamp(step.x, -kLongestStep, kLongestStep);
    step.y = std::clamp(step.y, -kLongestStep, kLongestStep);
    const Point next{std::round(mouse_.x + step.x), std::round(mouse_.y + step.y)};
    const float width = static_cast<float>(AppWindow->Width()), height = static_cast<float>(AppWindow->Height());
    if (next.x < kMargin || next.x > width - kMargin || next.y < kMargin || next.y > height - kMargin) {
        // The pointer would leave the window: the drag starts again.
        StopDrag_();
        return;
    }
    mouse_ = next;
    game_.Move(static_cast<int>(mouse_.x), static_cast<int>(mouse_.y));
}

void Autopilot::StopDrag_() {
    if (!dragging_) return;
    game_.Release(static_cast<int>(mouse_.x), static_cast<int>(mouse_.y));
    dragging_ = false;
}

bool Autopilot::SwitchShip_() {
    // A click is a press of its own: a drag in progress ends first.
    if (dragging_) {
        StopDrag_();
        return false;
    }
    std::vector<LayerObjectPtr> ships = Ships();
    std::erase(ships, std::static_pointer_cast<kestrum::scenegraph::LayerObject>(CurrentPlayer));
    if (ships.empty()) return false;
    const LayerObjectPtr& ship = ships[static_cast<std::size_t>(stats_.switches) % ships.size()];
    const Point centre = ToWindow_({ship->X(), ship->Y()});
    mouse_ = {std::round(centre.x), std::round(centre.y)};
    game_.Press(static_cast<int>(mouse_.x), static_cast<int>(mouse_.y));
    // The press goes on as a drag from the ship.
    dragging_ = true;
    sinceSwitch_ = 0;
    ++stats_.switches;
    return true;
}

Autopilot::Point Autopilot::ToWindow_(Point layer) const {
    if (!GameCamera || !GameLayer) return layer;
    // The camera maps window points to the layer by scale and offset; two
    // probes of the pointer give both.
    platform::MouseDevice& mouse = platform::Mouse();
    const platform::Vec2i saved = mouse.Location();
    mouse.SetLocation({0, 0});
    const platform::Vec2f zero = GameCamera->GetMouseLocation(GameLayer.get());
    mouse.SetLocation({100, 100});
    const platform::Vec2f hundred = GameCamera->GetMouseLocation(GameLayer.get());
    mouse.SetLocation(saved);
    const float scaleX = (hundred.x - zero.x) / 100, scaleY = (hundred.y - zero.y) / 100;
    if (scaleX == 0 || scaleY == 0) return layer;
    return {(layer.x - zero.x) / scaleX, (layer.y - zero.y) / scaleY};
}

Autopilot::Point Autopilot::DragAnchor_() const {
    const std::vector<LayerObjectPtr> ships = Ships();
    const float width = static_cast<float>(AppWindow->Width()), height = static_cast<float>(AppWindow->Height());
    Point best{width / 2, height / 2};
    float clearest = -1;
    for (int row = 1; row <= 3; ++row) {
        for (int column = 1; column <= 5; ++column) {
            const Point candidate{width * static_cast<float>(column) / 6, height * static_cast<float>(row) / 4};
            float clearance = std::numeric_limits<float>::max();
            for (const auto& ship : ships) {
                const Point at = ToWindow_({ship->X(), ship->Y()});
                clearance = std::min(clearance, std::hypot(at.x - candidate.x, at.y - candidate.y));
            }
            if (clearance > clearest) {
                clearest = clearance;
                best = candidate;
            }
        }
    }
    return {std::round(best.x), std::round(best.y)};
}

void Autopilot::Observe_() {
    const int state = gameState;
    const auto newGame = [](int value) { return value == STATE_NEW_GAME || value == STATE_NEW_GAME + 1; };
    if (newGame(state) && !newGame(lastState_)) {
        // The level's frames go on counting: a new game resumes the level
        // that ended the last one, and a level that keeps ending games must
        // still be helped on.
        ++stats_.gamesStarted;
        levelsThisGame_ = 0;
        gameLevelFrame_ = 0;
    }
    if (state >= STATE_GAME_OVER && lastState_ < STATE_GAME_OVER) ++stats_.gameOvers;
    if (state == STATE_GAME_OVER + 1 && lastState_ != STATE_GAME_OVER + 1) ++stats_.nameEntries;
    if (state == STATE_LEVEL_UP + 4 && lastState_ != STATE_LEVEL_UP + 4) {
        ++stats_.levelChanges;
        ++levelsThisGame_;
        levelFrame_ = 0;
        gameLevelFrame_ = 0;
        if (OnLevelChange) OnLevelChange({stats_.frames, levelIndex, GameDriver::PoolReport(), GameDriver::PoolsFull()});
    }
    if (state == STATE_PLAY && ShipsAlive > 0) {
        stats_.levels.insert(levelIndex);
        sinceConfirm_.insert(levelIndex);
    }
    if (stats_.passFrame == 0 && stats_.levels.size() == static_cast<std::size_t>(LevelCount)) {
        stats_.passFrame = stats_.frames;
    }

    // The shell, by what it shows: the GUI mode, the switches, the dialog.
    const int mode = GuiMode;
    const bool inPlay = state == STATE_PLAY && ShipsAlive > 0;
    if (mode == GUI_MODE_PAUSE && lastGuiMode_ != GUI_MODE_PAUSE) ++(inPlay ? stats_.menuOpens : stats_.hallsOfFame);
    if (lastGuiMode_ == GUI_MODE_PAUSE && mode == GUI_MODE_PLAY && inPlay && !kestrum::framework::TasksPaused()) {
        ++stats_.menuCloses;
    }
    if (lastGuiMode_ == GUI_MODE_NAME && mode == GUI_MODE_EMAIL) ++stats_.namesGiven;
    if (lastGuiMode_ == GUI_MODE_NAME && mode == GUI_MODE_PLAY) ++stats_.nameSkips;
    if (lastGuiMode_ == GUI_MODE_EMAIL && mode == GUI_MODE_PLAY) ++stats_.emailsGiven;
    const int sound = SoundToggle ? SoundToggle->Frame : 0, music = MusicToggle ? MusicToggle->Frame : 0;
    stats_.soundToggles += sound != lastSound_;
    stats_.musicToggles += music != lastMusic_;
    const bool dialog = OpenDialog() != nullptr;
    if (dialog && !lastDialog_) ++stats_.resetDialogs;
    if (!dialog && lastDialog_) {
        if (newGame(state)) {
            ++stats_.resetConfirms;
            sinceConfirm_.clear();
        } else {
            ++stats_.resetCancels;
        }
    }
    lastGuiMode_ = mode;
    lastSound_ = sound;
    lastMusic_ = music;
    lastDialog_ = dialog;
    bool spider = false, saucer = false;
    ForEachObject(GameLayer.get(), [&](const LayerObjectPtr& object) {
        if (!object->Enabled()) return;
        spider = spider || KindOf(object.get()) == ObjectKind::Spider;
        saucer = saucer || KindOf(object.get()) == ObjectKind::Saucer;
    });
    stats_.spiderFrames += spider;
    stats_.saucerFrames += saucer;
    lastState_ = state;
}

}  // namespace gamedriver
