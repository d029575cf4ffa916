// The headless game driver.
#include "zandrovia/driver/gamedriver.h"

#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

#include "kestrum-framework/taskmanager.h"
#include "kestrum-gui/guilayer.h"
#include "kestrum-scenegraph/camera.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scene.h"
#include "platform/app.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "support/testsupport.h"
#include "zandrovia/attackerbullet.h"
#include "zandrovia/constants.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/laser.h"
#include "zandrovia/objectkind.h"
#include "zandrovia/player.h"
#include "zandrovia/playerbullet.h"
#include "zandrovia/pooledparticle.h"
#include "zandrovia/scoreservice.h"
#include "zandrovia/screenshake.h"
#include "zandrovia/soundscheduler.h"
#include "zandrovia/spider.h"
#include "zandrovia/tankbullet.h"
#include "zandrovia/taskscheduler.h"
#include "zandrovia/textmessage.h"
#include "zandrovia/togglebox.h"
#include "zandrovia/trailparticle.h"
#include "zandrovia/zandrovia.h"

namespace gamedriver {

namespace {

std::string& Home() {
    static std::string home;
    return home;
}

// The driver plays through its own calls alone. A real window (on Windows,
// where there is no offscreen video driver) also gets the window system's
// events: focus, exposure, the pointer resting over it. They arrive when the
// system likes, so they are dropped, and a run replays the same.
void DropSystemEvents() {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

// The driver gives the pointer's input itself, straight to the device and
// the window. Pointer events of the window system (the pointer resting over
// a real window, and the echoes of the game's own moves, which a real
// window system sends when it likes) never enter the queue while a driver
// lives, so a run replays the same on any system.
int DropPointerEvents(void*, SDL_Event* event) {
    switch (event->type) {
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        case SDL_MOUSEWHEEL:
            return 0;
        default:
            return 1;
    }
}

// Starts the program once per process and runs the loader into Game.
void StartOnce() {
    static bool started = false;
    if (started) return;
    started = true;
    platform::AppInstance& app = testsupport::App();
    Home() = testsupport::TempDir();
    testsupport::SetEnv("HOME", Home());
    testsupport::SetEnv("USERPROFILE", std::nullopt);
    // No score service unless the caller names one: a game that ends
    // downloads from a loopback port that refuses at once.
    if (!testsupport::GetEnv(ScoreServiceUrlVariable)) {
        testsupport::SetEnv(ScoreServiceUrlVariable, "http://127.0.0.1:9/game/index.php");
    }
    if (!AppWindow) StartGame();
    // The loader runs one step per frame and hands over to Game.
    for (int frame = 0; frame < 1000; ++frame) {
        if (AppWindow->CurrentScreen() == GameScreen.get() && GameScreen->Started) break;
        DropSystemEvents();
        app.RequestRender();
        app.Step(false);
    }
}

void Frees(auto& pool) {
    pool.ReleaseAll();
    pool.Cursor = 0;
}

template <typename Pool>
int FreeSlots(const Pool& pool) {
    int free = 0;
    for (int i = 0; i < pool.Count; ++i) free += !pool.Used[static_cast<std::size_t>(i)];
    return free;
}

std::string Slots(const auto& pool) { return std::to_string(FreeSlots(pool)) + "/" + std::to_string(pool.Count); }

// FNV-1a over the bytes of a value.
void Mix(std::uint64_t& hash, const void* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= static_cast<const unsigned char*>(bytes)[i];
        hash *= 1099511628211ull;
    }
}

// A line "Name:   1234 kB" of /proc/self/status, in kB; -1 when missing.
long StatusKb(const char* name) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t length = std::strlen(name);
    while (std::getline(status, line)) {
        if (line.compare(0, length, name) == 0 && line.size() > length && line[length] == ':') {
            return std::strtol(line.c_str() + length + 1, nullptr, 10);
        }
    }
    return -1;
}

}  // namespace

std::string GameDriver::HomeDir() { return Home(); }

GameDriver::GameDriver() {
    SDL_SetEventFilter(DropPointerEvents, nullptr);
    StartOnce();
    testsupport::App().SetTerminateHook([this] { ++terminations_; });
    Reset();
}

GameDriver::~GameDriver() {
    SDL_SetEventFilter(nullptr, nullptr);
    StopRecording();
    if (minimised_) Window(platform::WindowEvent::Restored);
    platform::AppInstance& app = testsupport::App();
    app.SetTerminateHook([] {});
    app.ResetTerminated();
    platform::Mouse().Reset();
    platform::Keyboard().Reset();
}

void GameDriver::Reset() {
    if (minimised_) Window(platform::WindowEvent::Restored);
    while (CameraShake && CameraShake->Active) CameraShake->Update();
    if (GameCamera) GameCamera->Position = {0, 0};
    if (GameScene) GameScene->ClearLayers();
    GameScheduler->Clear();
    GameSoundScheduler->Clear();
    soil = nullptr;
    Frees(PlayerBulletPool);
    Frees(AttackerBulletPool);
    Frees(TankBulletPool);
    Frees(TrailPool);
    Frees(ParticlePool);
    ParticleCounts.fill(0);
    if (PlayerLaser) {
        PlayerLaser->Enabled(false);
        PlayerLaser->Alpha(0);
        for (const auto& glow : PlayerLaser->Glows) glow->Enabled(false);
    }

    // The shell as a new game finds it: no dialog over the pause menu, the
    // sound and the music on.
    if (const auto& pause = GuiRoots[GUI_MODE_PAUSE]; pause && pause->Modal) {
        pause->Modal->Remove();
        pause->Modal = nullptr;
    }
    if (SoundToggle) SoundToggle->Frame = 0;
    if (MusicToggle) MusicToggle->Frame = 0;
    // The GUI roots forget a press they saw and never saw released.
    for (const auto& root : GuiRoots) {
        if (root) root->InputDevice.InitFields();
    }
    if (MousePointerRoot) MousePointerRoot->InputDevice.InitFields();

    gameState = STATE_PLAY;
    GuiMode = 0;
    StateTimer = 0;
    Fade = 1.0f;
    Flash = 0.0f;
    manualPaused = false;
    levelIndex = 0;
    Score = 0;
    ShipsAlive = 0;
    WeaponLevel = 0;
    TrackerAmmo = 0;
    LaserAmmo = 0;
    TanksDestroyed = 0;
    AttackersLeft = 0;
    MousePressed = false;
    MouseReleased = false;
    SwipeLast = {0, 0};
    CurrentPlayer = nullptr;
    PendingPlayer = nullptr;
    TrackerTarget = nullptr;
    LaserTarget = nullptr;
    LevelBanner = nullptr;
    LevelPickups.clear();
    ManSpinSign = 1;
    GasVariant = PlanetVariant = SoilVariant = RocksVariant = 1;

    clock_.now = 0;
    frames_ = 0;
    skipped_ = 0;
    kestrum::framework::InitTaskManagerUnit();
    platform::Mouse().Reset();
    platform::Keyboard().Reset();
    platform::ResetRnd();
    HoldPlay = false;
    terminations_ = 0;
    testsupport::App().ResetTerminated();
}

void GameDriver::StartPlay() {
    gameState = STATE_PLAY;
    LevelBanner = TextMessage::New(nullptr, nullptr, "", 0, 0, 0, 0, 0);
    LevelBanner->Alpha(-0.05f);
}

std::shared_ptr<Player> GameDriver::AddShip(int spot) {
    return Player::New(GameLayer.get(), StartSpots.at(static_cast<std::size_t>(spot)));
}

void GameDriver::BuildGround() { InitBackground(); }

void GameDriver::Frame(int count) {
    platform::AppInstance& app = testsupport::App();
    for (int i = 0; i < count; ++i) {
        if (HoldPlay) KeepLevelOpen(true);
        Tick();
        // A frame that is not drawn runs the Game screen's update as the
        // screen manager's frame would, without drawing; frames in which the
        // manager has more to do (a screen to start or stop, a new game that
        // makes the screen current anew) run in full.
        const bool quiet = DrawEvery > 1 && frames_ % DrawEvery != 0 && AppWindow && GameScreen &&
                           AppWindow->CurrentScreen() == GameScreen.get() && GameScreen->Started &&
                           !GameScreen->RunOncePending && !AppWindow->StoppingScreen() && !AppWindow->Minimized() &&
                           gameState != STATE_NEW_GAME + 1;
        if (quiet) {
            GameScreen->OnUpdate();
            platform::Mouse().FrameDone();
        } else {
            DropSystemEvents();
            app.RequestRender();
            app.Step(false);
        }
        app.ResetTerminated();
        KeepLevelOpen(false);
    }
}

void GameDriver::KeepLevelOpen(bool open) {
    if (!open) {
        if (keeper_) keeper_->Layer(static_cast<kestrum::scenegraph::Layer*>(nullptr));
        return;
    }
    if (!keeper_) {
        keeper_ = std::make_shared<Spider>();
        keeper_->Enabled(false);
    }
    if (GameLayer && keeper_->Layer() != GameLayer.get()) keeper_->Layer(GameLayer.get());
}

void GameDriver::Tick() {
    ++frames_;
    clock_.now = static_cast<std::int64_t>(frames_) * 1000 / 60 + skipped_;
}

void GameDriver::Skip(int ms) {
    Log_("skip " + std::to_string(ms));
    skipped_ += ms;
}

void GameDriver::Press(int x, int y) {
    Deliver_();
    Log_("press " + std::to_string(x) + " " + std::to_string(y));
    platform::Mouse().SetLocation({x, y});
    platform::Mouse().SetButton(1, true);
    platform::MouseEvent event;
    event.type = platform::MouseEvent::ButtonDown;
    event.button = 1;
    event.location = {x, y};
    if (AppWindow) AppWindow->OnMouseEvent(event);
}

void GameDriver::Move(int x, int y) {
    Deliver_();
    Log_("move " + std::to_string(x) + " " + std::to_string(y));
    platform::Mouse().SetLocation({x, y});
    platform::MouseEvent event;
    event.type = platform::MouseEvent::Move;
    event.location = {x, y};
    if (AppWindow) AppWindow->OnMouseEvent(event);
}

void GameDriver::Release(int x, int y) {
    Deliver_();
    Log_("release " + std::to_string(x) + " " + std::to_string(y));
    platform::Mouse().SetLocation({x, y});
    platform::Mouse().SetButton(1, false);
    platform::MouseEvent event;
    event.type = platform::MouseEvent::ButtonUp;
    event.button = 1;
    event.location = {x, y};
    if (AppWindow) AppWindow->OnMouseEvent(event);
}

void GameDriver::Click(kestrum::gui::GuiObject& widget) {
    const platform::Vec2f centre = Centre(widget);
    const int x = static_cast<int>(centre.x), y = static_cast<int>(centre.y);
    Press(x, y);
    Frame();
    Release(x, y);
    Frame();
    Frame();
}

platform::Vec2f GameDriver::Centre(kestrum::gui::GuiObject& widget) {
    return {widget.WorldX() + (0.5f - widget.Handle.x) * widget.WorldWidth(),
            widget.WorldY() + (0.5f - widget.Handle.y) * widget.WorldHeight()};
}

void GameDriver::KeyDown(int key) {
    Log_("keydown " + std::to_string(key));
    platform::Keyboard().SetKey(key, true);
    platform::KeyEvent event;
    event.type = platform::KeyEvent::KeyDown;
    event.key = key;
    if (AppWindow) AppWindow->OnKeyEvent(event);
}

void GameDriver::KeyUp(int key) {
    Log_("keyup " + std::to_string(key));
    platform::Keyboard().SetKey(key, false);
    platform::KeyEvent event;
    event.type = platform::KeyEvent::KeyUp;
    event.key = key;
    if (AppWindow) AppWindow->OnKeyEvent(event);
}

void GameDriver::Key(int key) {
    KeyDown(key);
    Frame();
    KeyUp(key);
}

void GameDriver::Window(int type) {
    Log_("window " + std::to_string(type));
    if (!AppWindow) return;
    if (type == platform::WindowEvent::Minimized) {
        AppWindow->SetMinimized(true);
        minimised_ = true;
    }
    if (type == platform::WindowEvent::Restored) {
        AppWindow->SetMinimized(false);
        minimised_ = false;
    }
    platform::WindowEvent event;
    event.type = type;
    AppWindow->OnWindowEvent(event);
    testsupport::App().ResetTerminated();
}

void GameDriver::Deliver_() {
    // When the game moves the pointer (Mouse().Location), the device holds
    // the new place at once and the window system echoes the move as an
    // event, which the loop takes at the start of its next pass. A hand's
    // input comes later in time than that echo; given between two frames,
    // it would come before it and be moved back by it. The echoes are
    // dropped instead: they hold no place that the device does not already
    // hold (the last move wins either way) and the game does nothing else
    // with a pointer move.
    SDL_FlushEvent(SDL_MOUSEMOTION);
}

void GameDriver::Log_(const std::string& event) {
    if (recording_.is_open()) recording_ << frames_ << ' ' << event << '\n';
}

bool GameDriver::Record(const std::string& path) {
    StopRecording();
    recording_.open(path, std::ios::trunc);
    return recording_.is_open();
}

void GameDriver::StopRecording() {
    if (!recording_.is_open()) return;
    Log_("end");
    recording_.close();
}

bool GameDriver::Replay(const std::string& path, std::string* error) {
    const auto fail = [&](const std::string& reason) {
        if (error) *error = reason;
        return false;
    };
    std::ifstream file(path);
    if (!file) return fail("cannot read " + path);
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        std::istringstream fields(line);
        long frame = -1;
        std::string event;
        int a = 0, b = 0;
        if (!(fields >> frame >> event) || frame < frames_) {
            return fail("line " + std::to_string(number) + ": " + line);
        }
        const int values = event == "end" ? 0 : event == "press" || event == "move" || event == "release" ? 2 : 1;
        if ((values >= 1 && !(fields >> a)) || (values == 2 && !(fields >> b)) || !(fields >> std::ws).eof()) {
            return fail("line " + std::to_string(number) + ": " + line);
        }
        while (frames_ < frame) Frame();
        if (event == "end") return true;
        if (event == "press") {
            Press(a, b);
        } else if (event == "move") {
            Move(a, b);
        } else if (event == "release") {
            Release(a, b);
        } else if (event == "keydown") {
            KeyDown(a);
        } else if (event == "keyup") {
            KeyUp(a);
        } else if (event == "window") {
            Window(a);
        } else if (event == "skip") {
            Skip(a);
        } else {
            return fail("line " + std::to_string(number) + ": " + line);
        }
    }
    return fail(path + " has no end line");
}

std::string PlayState::ToString() const {
    std::ostringstream text;
    text << "score " << score << ", level " << level << ", ships " << ships << ", state " << state << ", positions "
         << std::hex << positions;
    return text.str();
}

PlayState GameDriver::State() {
    PlayState state;
    state.score = Score;
    state.level = levelIndex;
    state.ships = ShipsAlive;
    state.state = gameState;
    std::uint64_t hash = 14695981039346656037ull;
    for (const auto* layer : {BackgroundLayer.get(), GameLayer.get(), BulletsLayer.get(), EffectsLayer.get(),
                              FrontLayer.get()}) {
        ForEachObject(layer, [&](const kestrum::scenegraph::LayerObjectPtr& object) {
            const int kind = static_cast<int>(KindOf(object.get()));
            const float x = object->X(), y = object->Y();
            Mix(hash, &kind, sizeof kind);
            Mix(hash, &x, sizeof x);
            Mix(hash, &y, sizeof y);
        });
    }
    state.positions = hash;
    return state;
}

std::string GameDriver::PoolReport() {
    int live = 0;
    for (const int count : ParticleCounts) live += count;
    return Slots(PlayerBulletPool) + " " + Slots(AttackerBulletPool) + " " + Slots(TankBulletPool) + " " +
           Slots(TrailPool) + " " + Slots(ParticlePool) + " live " + std::to_string(live);
}

bool GameDriver::PoolsFull() {
    int live = 0;
    for (const int count : ParticleCounts) live += count;
    return live == 0 && FreeSlots(PlayerBulletPool) == PlayerBulletPool.Count &&
           FreeSlots(AttackerBulletPool) == AttackerBulletPool.Count &&
           FreeSlots(TankBulletPool) == TankBulletPool.Count && FreeSlots(TrailPool) == TrailPool.Count &&
           FreeSlots(ParticlePool) == ParticlePool.Count;
}

long GameDriver::ResidentKb() { return StatusKb("VmRSS"); }

long GameDriver::PeakResidentKb() { return StatusKb("VmHWM"); }

std::shared_ptr<platform::Pixmap> GameDriver::Render() {
    if (!AppWindow || !GameScreen) return nullptr;
    const int width = AppWindow->Width(), height = AppWindow->Height();
    auto image = std::make_shared<platform::Image>(width, height, 0);
    platform::Canvas canvas(image);
    canvas.Clear(AppWindow->ClearColor());
    GameScreen->OnRender(canvas);
    canvas.Flush();
    return canvas.CopyPixmap({0, 0, width, height});
}

bool GameDriver::Screenshot(const std::string& path) {
    const auto pixels = Render();
    return pixels && pixels->Save(path);
}

int GameDriver::DrawCalls() const { return AppWindow ? AppWindow->GetCanvas().DrawCalls() : 0; }

SoundProbe::SoundProbe(platform::SoundPtr& slot)
    : slot_(slot), saved_(slot), silence_(std::make_shared<platform::Sound>(std::vector<std::int16_t>(480000), 1, 8000)) {
    slot_ = silence_;
}

SoundProbe::~SoundProbe() { slot_ = saved_; }

int SoundProbe::Plays() const {
    // Held by the probe, by the sound's global (while it still names it) and by each channel.
    return static_cast<int>(silence_.use_count()) - 1 - (slot_ == silence_ ? 1 : 0);
}

}  // namespace gamedriver
