// The headless game driver.
#include "zandrovia/driver/gamedriver.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "kestrum-framework/taskmanager.h"
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
#include "zandrovia/player.h"
#include "zandrovia/playerbullet.h"
#include "zandrovia/pooledparticle.h"
#include "zandrovia/screenshake.h"
#include "zandrovia/soundscheduler.h"
#include "zandrovia/spider.h"
#include "zandrovia/tankbullet.h"
#include "zandrovia/taskscheduler.h"
#include "zandrovia/textmessage.h"
#include "zandrovia/trailparticle.h"
#include "zandrovia/zandrovia.h"

namespace gamedriver {

namespace {

std::string& Home() {
    static std::string home;
    return home;
}

// Starts the program once per process and runs the loader into Game.
void StartOnce() {
    static bool started = false;
    if (started) return;
    started = true;
    platform::AppInstance& app = testsupport::App();
    Home() = testsupport::TempDir();
    setenv("HOME", Home().c_str(), 1);
    unsetenv("USERPROFILE");
    if (!AppWindow) StartGame();
    // The loader runs one step per frame and hands over to Game.
    for (int frame = 0; frame < 1000; ++frame) {
        if (AppWindow->CurrentScreen() == GameScreen.get() && GameScreen->Started) break;
        app.RequestRender();
        app.Step(false);
    }
}

void Frees(auto& pool) {
    pool.ReleaseAll();
    pool.Cursor = 0;
}

}  // namespace

std::string GameDriver::HomeDir() { return Home(); }

GameDriver::GameDriver() {
    StartOnce();
    testsupport::App().SetTerminateHook([this] { ++terminations_; });
    Reset();
}

GameDriver::~GameDriver() {
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
        app.RequestRender();
        app.Step(false);
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

void GameDriver::Press(int x, int y) {
    platform::Mouse().SetLocation({x, y});
    platform::Mouse().SetButton(1, true);
    platform::MouseEvent event;
    event.type = platform::MouseEvent::ButtonDown;
    event.button = 1;
    event.location = {x, y};
    if (AppWindow) AppWindow->OnMouseEvent(event);
}

void GameDriver::Move(int x, int y) {
    platform::Mouse().SetLocation({x, y});
    platform::MouseEvent event;
    event.type = platform::MouseEvent::Move;
    event.location = {x, y};
    if (AppWindow) AppWindow->OnMouseEvent(event);
}

void GameDriver::Release(int x, int y) {
    platform::Mouse().SetLocation({x, y});
    platform::Mouse().SetButton(1, false);
    platform::MouseEvent event;
    event.type = platform::MouseEvent::ButtonUp;
    event.button = 1;
    event.location = {x, y};
    if (AppWindow) AppWindow->OnMouseEvent(event);
}

void GameDriver::KeyDown(int key) {
    platform::Keyboard().SetKey(key, true);
    platform::KeyEvent event;
    event.type = platform::KeyEvent::KeyDown;
    event.key = key;
    if (AppWindow) AppWindow->OnKeyEvent(event);
}

void GameDriver::KeyUp(int key) {
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
