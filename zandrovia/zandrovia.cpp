// Zandrovia: the game module's start-up, the main window and the Game screen.
#include "zandrovia/zandrovia.h"

#include <cstdio>
#include <cstdlib>

#include <algorithm>
#include <cmath>
#include <string>

#include "kestrum-framework/contentmanager.h"
#include "kestrum-framework/framework.h"
#include "kestrum-framework/gfx.h"
#include "kestrum-framework/input.h"
#include "kestrum-framework/taskmanager.h"
#include "kestrum-gui/gui.h"
#include "kestrum-gui/guilayer.h"
#include "kestrum-scenegraph/camera.h"
#include "kestrum-scenegraph/collisionmonitor.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scene.h"
#include "kestrum-scenegraph/scenegraph.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "platform/app.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/system.h"
#include "platform/text.h"
#include "zandrovia/attackerbullet.h"
#include "zandrovia/batchsorter.h"
#include "zandrovia/constants.h"
#include "zandrovia/dialog.h"
#include "zandrovia/enemies.h"
#include "zandrovia/globals.h"
#include "zandrovia/levels.h"
#include "zandrovia/loader.h"
#include "zandrovia/localization.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/laser.h"
#include "zandrovia/objectkind.h"
#include "zandrovia/player.h"
#include "zandrovia/playerbullet.h"
#include "zandrovia/pooledparticle.h"
#include "zandrovia/scoremessage.h"
#include "zandrovia/screenshake.h"
#include "zandrovia/soundscheduler.h"
#include "zandrovia/tankbullet.h"
#include "zandrovia/targeting.h"
#include "zandrovia/taskscheduler.h"
#include "zandrovia/togglebox.h"
#include "zandrovia/trailparticle.h"


// --- Game: set-up -------------------------------------------------------------

void Game::RunOnce() {
    using kestrum::scenegraph::Layer;
    if (DebugPrints) {
        std::printf("########runonce.....\n");
        std::fflush(stdout);
    }
    platform::Mouse().PointerVisible(false);
    GameScene = std::make_shared<kestrum::scenegraph::Scene>(Manager());
    GameScene->CollisionMonitor = std::make_shared<kestrum::scenegraph::CollisionMonitor>();
    GameCamera = kestrum::scenegraph::Camera::New(GameScene.get());
    GameCamera->SetVirtualHeight(640);
    if (DebugPrints) {
        std::printf("Camera VWidth:%d\n", GameCamera->VirtualWidth());
        std::fflush(stdout);
    }
    // One cell holds the whole view.
    const int cell = std::max(GameCamera->VirtualWidth(), GameCamera->VirtualHeight());
    for (std::shared_ptr<Layer>* layer : {&BackgroundLayer, &GameLayer, &BulletsLayer, &EffectsLayer, &FrontLayer}) {
        *layer = Layer::New(GameScene.get());
        (*layer)->TileSize({cell, cell});
    }
    // Shots and effects are drawn grouped by blend mode and image, so they batch.
    const auto sorter = std::make_shared<BatchSorter>();
    BulletsLayer->Sorter = sorter;
    EffectsLayer->Sorter = sorter;
    TankBullet::FillPool(BulletsLayer.get(), 14);
    AttackerBullet::FillPool(BulletsLayer.get(), 8);
    PlayerBullet::FillPool(BulletsLayer.get(), 18);
    TrailParticle::FillPool(EffectsLayer.get(), 16, kestrum::framework::Content->GetImage("particles/glow480.png"));
    FillParticlePool(EffectsLayer.get());
    CameraShake = std::make_shared<ScreenShake>(GameCamera);
    PlayerLaser = Laser::New(EffectsLayer.get());

    const float vw = static_cast<float>(GameCamera->VirtualWidth());
    const float vh = static_cast<float>(GameCamera->VirtualHeight());
    StartSpots.assign(14, {});
    for (int k = 1; k <= 7; ++k) {
        const int x = static_cast<int>(vw * (static_cast<float>(k) / 8.0f));
        StartSpots[static_cast<std::size_t>(k - 1)] = {x, static_cast<int>(vh * 0.15f)};
        StartSpots[static_cast<std::size_t>(k + 6)] = {x, static_cast<int>(vh * 0.3f)};
    }

    InitGui_();

    if (Music && MusicOn()) {
        if (MusicChannel) MusicChannel->Stop();
        MusicChannel = Music->Play(true);
    }
}

// --- Game: the frame ----------------------------------------------------------

void Game::OnUpdate() {
    MousePressed = platform::Mouse().ButtonPressed(1);
    MouseReleased = platform::Mouse().ButtonReleased(1);
    AttackersLeft = CountAttackers(GameLayer.get());

    // The confirmation dialog of the pause menu (a reset of the progress).
    PollResetDialog();

    if (GameSoundScheduler) GameSoundScheduler->Update(SoundOn() ? 1.0f : 0.0f, true);
    if (GameScheduler) GameScheduler->Update(true);
    if (CameraShake) CameraShake->Update();
    if (GameScene) GameScene->Update();
    const bool guiModeValid = GuiMode >= 0 && GuiMode < static_cast<int>(GuiRoots.size());
    kestrum::gui::GuiLayer* liveRoot = guiModeValid ? GuiRoots[static_cast<std::size_t>(GuiMode)].get() : nullptr;
    if (liveRoot) liveRoot->Update();

    // The music switch restarts the music from its beginning, or stops it.
    // Its one-frame flag counts only right after its menu ran: a menu closed
    // in the frame of the click keeps the flag until it runs again.
    if (liveRoot && MusicToggle && MusicToggle->Released && MusicToggle->Layer() == liveRoot) {
        if (MusicChannel) MusicChannel->Stop();
        if (Music && MusicOn()) MusicChannel = Music->Play(true);
    }
    if (MousePointerRoot) MousePointerRoot->Update();

    if (gameState == STATE_PLAY && AttackersLeft == 0) {
        gameState = levelIndex == LevelCount ? STATE_COMPLETED : STATE_LEVEL_UP;
    }
    GameStates_();
    Swipe_();

    // A ship just made current is filed again, after the others of its cell.
    if (PendingPlayer) {
        PendingPlayer->Layer(PendingPlayer->Layer());
        PendingPlayer = nullptr;
    }

    if (!kestrum::framework::TasksHalted()) {
        UpdateClosestLaserTarget(GameLayer.get());
        UpdateClosestLaserTarget(BulletsLayer.get());
        UpdateClosestTrackerTarget(GameLayer.get());
        UpdateLaser();
        if (Flash > 0) Flash -= 0.01f;
    }

    if (platform::Keyboard().KeyHit(platform::Key::Escape)) {
        if (!kestrum::framework::TasksPaused()) {
            SaveState();
            if (platform::AppInstance* app = platform::AppInstance::Instance()) app->Terminate();
        } else {
            GuiMode = GUI_MODE_PLAY;
            kestrum::framework::SetTasksPaused(false);
        }
    }
    const bool keyS = (GuiEditor || CheatKeys) && platform::Keyboard().KeyHit('s');
    if (GuiEditor && keyS && GuiRoots[GUI_MODE_PAUSE]) {
        std::printf("%s\n", GuiRoots[GUI_MODE_PAUSE]->Snapshot().c_str());
        std::fflush(stdout);
    }
    if (CheatKeys) {
        platform::KeyboardDevice& keys = platform::Keyboard();
        const int fingers = kestrum::framework::TouchActive() ? kestrum::framework::TouchCount() : 0;
        if (keys.KeyHit(platform::Key::Space) || fingers == 2) {
            Fade = 0;
            gameState = STATE_LEVEL_UP + 3;
        }
        if (keys.KeyHit('g')) gameState = STATE_GAME_OVER;
        if (keys.KeyHit('n')) {
            Nuke();
            Score += 100000;
        }
        if (keys.KeyHit('p')) kestrum::framework::ToggleTasksFrozen();
        if (keys.KeyHit('r') || fingers == 3) gameState = STATE_NEW_GAME;
        if (keyS && CameraShake) CameraShake->Shake(250, 0.9f);
    }
}

void Game::Swipe_() {
    if (!platform::Mouse().ButtonDown(1)) {
        SwipeLast = {0, 0};
        return;
    }
    if (!CameraShake) return;
    // Through the camera at rest: the shake moves the picture, not the hand.
    const platform::Vec2f location = CameraShake->SteadyMouseLocation(GameLayer.get());
    if ((SwipeLast.x == 0 && SwipeLast.y == 0) || kestrum::framework::TasksHalted()) {
        SwipeLast = location;
        return;
    }
    const platform::Vec2f delta = location - SwipeLast;
    if (CurrentPlayer && CurrentPlayer->Enabled()) CurrentPlayer->Velocity = CurrentPlayer->Velocity + delta * 0.25f;
    SwipeLast = location;
}

void Game::OnRender(platform::Canvas& canvas) {
    if (GameScene) GameScene->Draw(canvas);
    if (Flash > 0) kestrum::framework::DrawFade(canvas, 1 - Flash, {1, 1, 1, 0.5f});
    kestrum::framework::DrawFade(canvas, Fade, {0, 0, 0, 1});
    if (GuiMode >= 0 && GuiMode < static_cast<int>(GuiRoots.size()) && GuiRoots[static_cast<std::size_t>(GuiMode)]) {
        GuiRoots[static_cast<std::size_t>(GuiMode)]->Draw(canvas);
    }
    if (MousePointerRoot) MousePointerRoot->Draw(canvas);
    if (DebugPrints) {
        const platform::FontPtr font = kestrum::framework::NullFont(canvas.Font());
        canvas.Font(font);
        canvas.BlendMode(platform::BlendMode::Alpha);
        canvas.Color({1, 1, 1, 1});
        float y = 8;
        for (const int count : ParticleCounts) {
            canvas.DrawText("counter: " + std::to_string(count), 8, y);
            y += font ? font->Height() : 0;
        }
    }
}

void Game::OnWindowEvent(platform::WindowEvent& event) {
    switch (event.type) {
        case platform::WindowEvent::Minimized:
            if (Minimised_) break;
            Minimised_ = true;
            if (Music && MusicChannel) MusicChannel->Paused(true);
            // The clock stands still while minimised, music or not: the
            // waves and messages must not run on unseen.
            PausedBeforeMinimise = kestrum::framework::TasksPaused();
            kestrum::framework::SetTasksPaused(true);
            break;
        case platform::WindowEvent::Restored:
            if (!Minimised_) break;
            Minimised_ = false;
            if (Music && MusicChannel) MusicChannel->Paused(false);
            kestrum::framework::SetTasksPaused(PausedBeforeMinimise);
            break;
        case platform::WindowEvent::Close: SaveState(); break;
        default: break;
    }
}

void Game::OnKeyEvent(platform::KeyEvent& event) {
    if (GuiMode >= 0 && GuiMode < static_cast<int>(GuiRoots.size()) && GuiRoots[static_cast<std::size_t>(GuiMode)]) {
        GuiRoots[static_cast<std::size_t>(GuiMode)]->SendKeyEvent(event);
    }
    if (MousePointerRoot) MousePointerRoot->SendKeyEvent(event);
}

void Game::OnMouseEvent(platform::MouseEvent& event) {
    if (MousePointerRoot) MousePointerRoot->SendMouseEvent(event);
}

// --- The main window ----------------------------------------------------------

MainWindow::MainWindow(const std::string& title, int width, int height, int flags)
    : ScreenManager(title, width, height, flags) {
    ClearColor({0, 0, 0, 1});
    GameScreen = std::make_shared<Game>();
    Loader_ = std::make_unique<Loader>();
    Loader_->NextScreen(GameScreen.get());
    if (const char* folder = std::getenv("ZANDROVIA_FRAME_DUMP"); folder && *folder) {
        DumpFolder_ = folder;
        if (!platform::EndsWith(DumpFolder_, "/")) DumpFolder_ += "/";
        platform::SaveString("", DumpFolder_ + "screens.txt");
    }
}

MainWindow::~MainWindow() = default;

void MainWindow::OnRender(platform::Canvas& canvas) {
    // The screen that this frame runs (a hand-over made while rendering
    // shows from the next frame on).
    const bool game = CurrentScreen() == GameScreen.get();
    ScreenManager::OnRender(canvas);
    if (DumpFolder_.empty()) return;
    ++Frame_;
    // Every frame's top strip (where the progress bar is), and whole frames
    // now and then: whole frames are slow to encode.
    char name[32];
    std::snprintf(name, sizeof name, "top%03d.png", Frame_);
    if (const auto strip = canvas.CopyPixmap({0, 0, Width(), 32})) strip->Save(DumpFolder_ + name);
    if (Frame_ % 16 == 1 || game) {
        std::snprintf(name, sizeof name, "frame%03d.png", Frame_);
        if (const auto pixels = canvas.CopyPixmap({0, 0, Width(), Height()})) pixels->Save(DumpFolder_ + name);
    }
    char line[48];
    std::snprintf(line, sizeof line, "%d %s\n", Frame_, game ? "game" : "loader");
    platform::SaveString(platform::LoadString(DumpFolder_ + "screens.txt") + line, DumpFolder_ + "screens.txt");
    if (game && ++GameFrames_ >= 2) {
        if (platform::AppInstance* app = platform::AppInstance::Instance()) app->Terminate();
    }
}

void InitGameModule() {
    static bool done = false;
    if (done) return;
    done = true;
    kestrum::framework::InitFrameworkModule();
    kestrum::gui::InitGuiModule();
    kestrum::scenegraph::InitScenegraphModule();
    InitConstantsFile();
    InitGlobalsFile();
    InitPlayerFile();
    InitEnemiesFile();
    InitLevelsFile();
    morvane::locale::InitLocalizationModule();
    InitPooledParticles();
}

namespace {
std::unique_ptr<platform::AppInstance> OwnApp;
}

void StartGame() {
    InitGameModule();
    if (!platform::AppInstance::Instance()) OwnApp = std::make_unique<platform::AppInstance>();
    platform::AudioDevice::Instance().MasterVolume(MixVolume);
    Prefs = std::make_shared<kestrum::framework::Config>();
    Prefs->Parse(LoadPrefsText());
    Language = DetectLanguage();
    morvane::locale::LocInstance->Load("asset::translation.json", Language);
    if (DebugPrints) {
        std::printf("%s => %s\n", SystemLocale.c_str(), Language.c_str());
        std::fflush(stdout);
    }
    AppWindow = std::make_shared<MainWindow>("Zandrovia", 1136, 640, 0);
}

int ZandroviaMain() {
    static bool started = false;
    if (started) return 0;
    started = true;
    StartGame();
    platform::AppInstance::Instance()->Run();
    return 0;
}

std::string LanguageForLocale(const std::string& localeName, const std::string& current) {
    if (platform::Contains(localeName, "German") || platform::Contains(localeName, "de_DE") ||
        platform::Contains(localeName, "de-DE")) {
        return "de";
    }
    return current;
}

std::string DetectLanguage() {
    SystemLocale = QuerySystemLocale();
    Language = LanguageForLocale(SystemLocale, Language);
    return Language;
}

std::string QuerySystemLocale() { return platform::LocaleName(); }

int GetDisplayDpi() {
    const platform::AppInstance* app = platform::AppInstance::Instance();
    return app ? static_cast<int>(app->DesktopDpi()) : 0;
}

std::string ZeroPad(int value, int digits) {
    if (digits <= 0) return std::to_string(value);
    if (digits > 9) digits = 9;
    std::string t;
    if (value < 10) t = "00000000";
    else if (value < 100) t = "0000000";
    else if (value < 1000) t = "000000";
    else if (value < 10000) t = "00000";
    else if (value < 100000) t = "0000";
    else if (value < 1000000) t = "000";
    else if (value < 10000000) t = "00";
    else if (value < 100000000) t = "0";
    else if (value >= 1000000000) return "";
    t += std::to_string(value);
    if (static_cast<int>(t.size()) <= digits) return t;
    return t.substr(t.size() - static_cast<std::size_t>(digits));
}
