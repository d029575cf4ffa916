// Helpers of the game-shell tests: the Game screen's GUI built for real on
// window-less 1136 × 640 layers, the mouse driven frame by frame on a clock
// the test controls, a stand-in downloader on PATH, clicks that can be
// counted and screenshots of a GUI root.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kestrum-framework/config.h"
#include "kestrum-framework/message.h"
#include "kestrum-framework/taskmanager.h"
#include "kestrum-gui/guilayer.h"
#include "kestrum-gui/guiobject.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/text.h"
#include "support/testsupport.h"
#include "zandrovia/button.h"
#include "zandrovia/constants.h"
#include "zandrovia/creditbox.h"
#include "zandrovia/emailkeyboard.h"
#include "zandrovia/gamegui.h"
#include "zandrovia/globals.h"
#include "zandrovia/localization.h"
#include "zandrovia/namekeyboard.h"
#include "zandrovia/scoreservice.h"
#include "zandrovia/togglebox.h"
#include "zandrovia/zandrovia.h"

namespace shelltest {

// The hall of fame that the stand-in downloader answers with.
inline const char* const kHallOfFame =
    R"({"success":true,"debugmsg":"GET ok","scores":[{"12000":"ALICE"},{"9000":"bob"},{"":"NOBODY"},{"700":"CAROL:X"}]})";

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::App();
        platform::SetMillisecsSource([this] { return now; });
        InitGameModule();
        saved = {GuiRoots, MousePointerRoot, PauseButton, NameEntry, EmailEntry, NameDisplay,
                 EmailDisplay, Credits, SoundToggle, MusicToggle, ImpactSound, Prefs};
        kestrum::framework::InitTaskManagerUnit();
        kestrum::framework::Message::Clear();
        platform::Mouse().Reset();
        morvane::locale::LocInstance->Load("asset::translation.json", "en");

        home = testsupport::TempDir();
        homeVar.emplace("HOME", home);
        profileVar.emplace("USERPROFILE", std::nullopt);
        // A downloader that answers every request with kHallOfFame and logs
        // its runs (the test program under wget's name).
        const std::string bin = testsupport::TempDir();
#ifdef _WIN32
        std::filesystem::copy_file(testsupport::TestProgram(), bin + "wget.exe");
        const char separator = ';';
#else
        std::filesystem::copy_file(testsupport::TestProgram(), bin + "wget");
        const char separator = ':';
#endif
        platform::SaveString(kHallOfFame, home + "reply.json");
        pathVar.emplace("PATH", bin + separator + testsupport::GetEnv("PATH").value_or(""));
        logVar.emplace("FAKE_WGET_LOG", home + "wget.log");
        postsVar.emplace("FAKE_WGET_POSTS", home + "posts.log");
        replyVar.emplace("FAKE_WGET_REPLY", home + "reply.json");

        Prefs = std::make_shared<kestrum::framework::Config>();
        Prefs->Parse(prefsText);
        gameState = 0;
        GuiMode = GUI_MODE_PLAY;
        Score = 0;
        levelIndex = 1;
        AttackersLeft = 0;
        Fade = 1;
        manualPaused = false;
        MouseReleased = false;
        HALL_OF_FAME_ENABLED = true;
        savedUrl = ScoreServiceUrl;
        ScoreServiceUrl = "http://scores.test/game/index.php";
        urlsOpened.clear();
        savedOpener = OpenWebPage;
        OpenWebPage = [this](const std::string& url) { urlsOpened.push_back(url); };
        // A long, silent click: every play stays on a live channel, which
        // holds a reference to the sound, so the plays can be counted. The
        // application opens its device only after its first frame, which
        // these tests never run.
        ASSERT_TRUE(platform::AudioDevice::Instance().Open());
        ImpactSound = std::make_shared<platform::Sound>(std::vector<std::int16_t>(8000 * 600), 1, 8000);
        clicksBefore = ImpactSound.use_count();

        BuildGameGui(nullptr);
    }

    void TearDown() override {
        // The GUI of a Game screen that runs in this process comes back.
        GuiRoots = saved.roots;
        MousePointerRoot = saved.pointerRoot;
        PauseButton = saved.pauseButton;
        NameEntry = saved.nameEntry;
        EmailEntry = saved.emailEntry;
        NameDisplay = saved.nameDisplay;
        EmailDisplay = saved.emailDisplay;
        Credits = saved.credits;
        SoundToggle = saved.soundToggle;
        MusicToggle = saved.musicToggle;
        ImpactSound = saved.impactSound;
        Prefs = saved.prefs;
        GuiMode = GUI_MODE_PLAY;
        gameState = STATE_PLAY;
        OpenWebPage = savedOpener;
        ScoreServiceUrl = savedUrl;
        kestrum::framework::SetTasksPaused(false);
        kestrum::framework::SetTasksFrozen(false);
        platform::Mouse().Reset();
        platform::SetMillisecsSource({});
    }

    // One frame of the Game screen's GUI: the frame before ends (as the
    // event loop ends each frame before the next one's input), the
    // platform's release flag is read into MouseReleased, then the current
    // root and the pointer layer update.
    void Frame(int x, int y, bool down) {
        platform::Mouse().FrameDone();
        platform::Mouse().SetLocation({x, y});
        platform::Mouse().SetButton(1, down);
        now += 16;
        MouseReleased = platform::Mouse().ButtonReleased(1);
        if (GuiRoots[GuiMode]) GuiRoots[GuiMode]->Update();
        if (MousePointerRoot) MousePointerRoot->Update();
    }
    void Frame(platform::Vec2i p, bool down) { Frame(p.x, p.y, down); }

    // The centre of a widget in window coordinates (the layers map 1:1).
    static platform::Vec2i Centre(kestrum::gui::GuiObject& widget) {
        const float x = widget.WorldX() + (0.5f - widget.Handle.x) * widget.WorldWidth();
        const float y = widget.WorldY() + (0.5f - widget.Handle.y) * widget.WorldHeight();
        return {static_cast<int>(x), static_cast<int>(y)};
    }

    // Pointer over the widget, press, release.
    void Press(kestrum::gui::GuiObject& widget) {
        Frame(Centre(widget), false);
        Frame(Centre(widget), true);
    }
    void Release(kestrum::gui::GuiObject& widget) { Frame(Centre(widget), false); }
    void Click(kestrum::gui::GuiObject& widget) {
        const platform::Vec2i p = Centre(widget);
        Press(widget);
        Frame(p, false);
    }
    void Click(const std::string& name) {
        auto widget = GuiRoots[GuiMode]->GetObject(name);
        ASSERT_TRUE(widget) << name;
        Click(*widget);
    }

    long Clicks() const { return ImpactSound.use_count() - clicksBefore; }

    // How many times the stand-in downloader ran.
    int DownloaderRuns() const {
        int runs = 0;
        for (const std::string& line : platform::Split(platform::LoadString(home + "wget.log"), "\n")) {
            if (line == "run") ++runs;
        }
        return runs;
    }

    // Draws the layers into a fresh 1136 × 640 target; saves it as
    // <name>.png in ZANDROVIA_SCREENSHOTS (or a temporary folder).
    std::shared_ptr<platform::Pixmap> Screenshot(const std::vector<kestrum::gui::GuiLayer*>& layers,
                                                 const std::string& name) {
        testsupport::Target target = testsupport::MakeTarget(1136, 640, {0.1f, 0.1f, 0.1f, 1});
        for (kestrum::gui::GuiLayer* layer : layers) layer->Draw(*target.canvas);
        target.canvas->Flush();
        auto pixels = target.canvas->CopyPixmap({0, 0, 1136, 640});
        const char* dir = std::getenv("ZANDROVIA_SCREENSHOTS");
        const std::string folder = dir && *dir ? std::string(dir) + "/" : testsupport::TempDir();
        EXPECT_TRUE(pixels && pixels->Save(folder + name + ".png")) << folder + name + ".png";
        return pixels;
    }

    // The globals this fixture replaces, as they were.
    struct Saved {
        std::array<std::shared_ptr<kestrum::gui::GuiLayer>, 4> roots;
        std::shared_ptr<kestrum::gui::GuiLayer> pointerRoot;
        std::shared_ptr<Button> pauseButton;
        std::shared_ptr<NameKeyboard> nameEntry;
        std::shared_ptr<EmailKeyboard> emailEntry;
        std::shared_ptr<Keyboard::Display> nameDisplay;
        std::shared_ptr<Keyboard::Display> emailDisplay;
        std::shared_ptr<CreditBox> credits;
        std::shared_ptr<ToggleBox> soundToggle;
        std::shared_ptr<ToggleBox> musicToggle;
        platform::SoundPtr impactSound;
        std::shared_ptr<kestrum::framework::Config> prefs;
    } saved;

    std::int64_t now = 100000;
    std::string home;
    std::string prefsText;
    std::vector<std::string> urlsOpened;
    std::function<void(const std::string&)> savedOpener;
    std::string savedUrl;
    long clicksBefore = 0;
    std::optional<testsupport::ScopedEnv> homeVar, profileVar, pathVar, logVar, postsVar, replyVar;
};

}  // namespace shelltest
