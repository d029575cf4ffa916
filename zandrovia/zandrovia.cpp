// Zandrovia: the game module's start-up, the main window and the Game screen.
#include "zandrovia/zandrovia.h"

#include <cstdio>
#include <cstdlib>

#include "kestrum-framework/framework.h"
#include "kestrum-gui/gui.h"
#include "kestrum-scenegraph/scenegraph.h"
#include "platform/app.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/text.h"
#include "zandrovia/constants.h"
#include "zandrovia/globals.h"
#include "zandrovia/levels.h"
#include "zandrovia/loader.h"
#include "zandrovia/localization.h"
#include "zandrovia/player.h"
#include "zandrovia/pooledparticle.h"

void Game::OnRender(platform::Canvas& canvas) { canvas.Clear({0, 0, 0, 1}); }

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
    if (platform::Contains(localeName, "German") || platform::Contains(localeName, "de_DE")) return "de";
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
