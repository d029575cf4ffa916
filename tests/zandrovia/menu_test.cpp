// The pause menu: its widgets by name and place, what each button and toggle
// does when clicked with the pointer (sounds, pages, game state, the clock),
// the reset dialog's yes and no, and closing the menu as Escape does.
#include <gtest/gtest.h>

#include "kestrum-framework/contentmanager.h"
#include "kestrum-gui/guilabel.h"
#include "shelltest.h"
#include "zandrovia/dialog.h"
#include "zandrovia/menu.h"

namespace {

using kestrum::framework::SetTasksPaused;
using kestrum::framework::TasksPaused;
using shelltest::ShellTest;

// The menu as the pause button opens it during play.
class PauseMenu : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Click(*PauseButton);
    }
    std::shared_ptr<Dialog> ResetDialog() { return std::dynamic_pointer_cast<Dialog>(GuiRoots[1]->Modal); }
};

}  // namespace

TEST_F(ShellTest, MenuHoldsItsWidgetsWhereTheLayoutFilePutsThem) {
    const struct {
        const char* name;
        bool toggle;
        float x, y;
    } cases[] = {{"sound", true, 515, 410},    {"music", true, 685, 410},    {"replay", false, 515, 300},
                 {"reset", false, 685, 300},   {"close", false, 600, 150},   {"homepage", false, 495, 505},
                 {"facebook", false, 565, 505}, {"twitter", false, 635, 505}, {"privacy", false, 705, 505}};
    auto menu = std::dynamic_pointer_cast<Menu>(GuiRoots[1]->GetObject("menu"));
    ASSERT_TRUE(menu);
    EXPECT_FLOAT_EQ(menu->Width(), 820);
    EXPECT_FLOAT_EQ(menu->Height(), 560);
    EXPECT_EQ(menu->AllowedStates, (std::vector<int>{kestrum::gui::GuiState::Normal}));
    for (const auto& c : cases) {
        auto widget = GuiRoots[1]->GetObject(c.name);
        ASSERT_TRUE(widget) << c.name;
        EXPECT_EQ(widget->Group(), menu) << c.name;
        EXPECT_FALSE(widget->Pausable) << c.name;
        EXPECT_EQ(std::dynamic_pointer_cast<ToggleBox>(widget) != nullptr, c.toggle) << c.name;
        EXPECT_EQ(std::dynamic_pointer_cast<Button>(widget) != nullptr, !c.toggle) << c.name;
        EXPECT_FLOAT_EQ(widget->X(), c.x) << c.name;
        EXPECT_FLOAT_EQ(widget->Y(), c.y) << c.name;
    }
    EXPECT_EQ(GuiRoots[1]->GetObject("sound"), SoundToggle);
    EXPECT_EQ(GuiRoots[1]->GetObject("music"), MusicToggle);
    EXPECT_EQ(GuiRoots[1]->GetObject("credits"), Credits);
    EXPECT_FLOAT_EQ(Credits->Width(), 338);
    EXPECT_FLOAT_EQ(Credits->Height(), 430);
    EXPECT_FLOAT_EQ(Credits->X(), 205);
    // The toggles show their "off" pictures in frame 1; the eye has no picture of its own under the pointer.
    EXPECT_TRUE(SoundToggle->Images.DrawData(kestrum::gui::GuiState::Over, 1)->Image);
    EXPECT_TRUE(MusicToggle->Images.DrawData(kestrum::gui::GuiState::Normal, 1)->Image);
    auto privacy = std::dynamic_pointer_cast<Button>(GuiRoots[1]->GetObject("privacy"));
    EXPECT_FALSE(privacy->Images.DrawData(kestrum::gui::GuiState::Over, 0)->Image);
    EXPECT_FLOAT_EQ(privacy->Images.DrawData(kestrum::gui::GuiState::Over, 0)->Alpha(), 0.5f);
}

TEST_F(ShellTest, PauseButtonFetchesTheHallOfFameAndOpensTheMenu) {
    Score = 100;
    Click(*PauseButton);
    EXPECT_EQ(GuiMode, GUI_MODE_PAUSE);
    EXPECT_TRUE(TasksPaused());
    EXPECT_TRUE(manualPaused);
    EXPECT_EQ(DownloaderRuns(), 1);
    EXPECT_EQ(Clicks(), 0);
    // The box shows the download and has used it up.
    EXPECT_EQ(Credits->HiscoreData, "");
    bool alice = false;
    for (const auto& row : Credits->Members) {
        auto label = std::dynamic_pointer_cast<kestrum::gui::GuiLabel>(row);
        alice = alice || (label && label->Text() == "ALICE");
    }
    EXPECT_TRUE(alice);
    // The pause root is the one updated now; play is frozen behind it.
    const int scrolls = static_cast<int>(Credits->ScrollY);
    for (int i = 0; i < 10; ++i) Frame(10, 10, false);
    EXPECT_FLOAT_EQ(Credits->ScrollY, static_cast<float>(scrolls) + 5);
}

TEST_F(PauseMenu, CloseResumesWithoutFetchingAndClicks) {
    ASSERT_EQ(DownloaderRuns(), 1);
    Click("close");
    EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
    EXPECT_FALSE(TasksPaused());
    EXPECT_EQ(DownloaderRuns(), 1);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_FALSE(manualPaused);
}

TEST_F(PauseMenu, ReplayStartsANewGameAndAlwaysLeavesCloseEnabled) {
    auto close = GuiRoots[1]->GetObject("close");
    close->Enabled(false);
    Click("replay");
    EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
    EXPECT_EQ(gameState, STATE_NEW_GAME);
    EXPECT_TRUE(close->Enabled());
    EXPECT_EQ(Clicks(), 1);
    EXPECT_FALSE(manualPaused);
    // The new-game steps of the state machine resume the clock, not the button.
    EXPECT_TRUE(TasksPaused());
}

TEST_F(PauseMenu, WebButtonsClickAndOpenTheirPages) {
    const struct {
        const char* name;
        const std::string& url;
    } cases[] = {{"homepage", HomepageUrl}, {"facebook", SocialUrl1}, {"twitter", SocialUrl2}, {"privacy", PrivacyUrl}};
    for (const auto& c : cases) {
        urlsOpened.clear();
        manualPaused = true;
        const long before = Clicks();
        Click(c.name);
        EXPECT_EQ(urlsOpened, std::vector<std::string>{c.url}) << c.name;
        EXPECT_EQ(Clicks(), before + 1) << c.name;
        EXPECT_FALSE(manualPaused) << c.name;
        EXPECT_EQ(GuiMode, GUI_MODE_PAUSE);
    }
}

TEST_F(PauseMenu, SoundToggleClicksOnlyWhenSwitchingSoundOn) {
    // Pressed while on: no click; released: off.
    Press(*SoundToggle);
    EXPECT_EQ(Clicks(), 0);
    EXPECT_TRUE(SoundOn());
    Release(*SoundToggle);
    EXPECT_EQ(SoundToggle->Frame, 1);
    EXPECT_FALSE(SoundOn());
    // The picture shown is the "off" one, under the pointer and away from it.
    using kestrum::framework::Content;
    const auto picture = [](int state) { return SoundToggle->Images.DrawData(state, SoundToggle->Frame)->Image; };
    EXPECT_EQ(picture(kestrum::gui::GuiState::Normal), Content->GetImage("gui/sound_normal_off.png"));
    EXPECT_EQ(picture(kestrum::gui::GuiState::Over), Content->GetImage("gui/sound_mouseover_off.png"));
    // Effects are silent now: a button that clicks does not.
    Click("homepage");
    EXPECT_EQ(Clicks(), 0);
    // Pressed while off: the click, then sound is on again.
    Press(*SoundToggle);
    EXPECT_EQ(Clicks(), 1);
    Release(*SoundToggle);
    EXPECT_EQ(SoundToggle->Frame, 0);
    EXPECT_TRUE(SoundOn());
    EXPECT_EQ(picture(kestrum::gui::GuiState::Normal), Content->GetImage("gui/sound_normal.png"));
}

TEST_F(PauseMenu, MusicToggleClicksWhileSoundIsOnAndSwitchesEitherWay) {
    Click(*MusicToggle);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_FALSE(MusicOn());
    EXPECT_TRUE(MusicToggle->Released);
    Click(*SoundToggle);
    const long before = Clicks();
    Click(*MusicToggle);
    EXPECT_EQ(Clicks(), before);
    EXPECT_TRUE(MusicOn());
}

TEST_F(PauseMenu, ResetAsksFirstAndNoLeavesEverythingAsItWas) {
    Click("reset");
    EXPECT_EQ(Clicks(), 0);
    auto dialog = ResetDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->Layer(), GuiRoots[1].get());
    // While the dialog is up the menu behind it stands still.
    const float scroll = Credits->ScrollY;
    for (int i = 0; i < 5; ++i) Frame(10, 10, false);
    EXPECT_FLOAT_EQ(Credits->ScrollY, scroll);

    Click(*dialog->RightButton);
    PollResetDialog();
    EXPECT_FALSE(GuiRoots[1]->Modal);
    EXPECT_FALSE(dialog->Layer());
    EXPECT_EQ(GuiMode, GUI_MODE_PAUSE);
    EXPECT_TRUE(TasksPaused());
    EXPECT_EQ(gameState, 0);
    EXPECT_FALSE(platform::TryLoadString(home + ".zandrovia.pref.dat"));
    Frame(10, 10, false);
    EXPECT_GT(Credits->ScrollY, scroll);
}

TEST_F(PauseMenu, ResetYesSavesLevelOneAndStartsANewGame) {
    Prefs->Parse("instructions1=True\nlevelIndex=7");
    levelIndex = 7;
    GuiRoots[1]->GetObject("close")->Enabled(false);
    Click("reset");
    auto dialog = ResetDialog();
    ASSERT_TRUE(dialog);
    // Nothing happens before the release.
    Press(*dialog->LeftButton);
    EXPECT_EQ(dialog->LeftButton->RenderState(), kestrum::gui::GuiState::Down);
    PollResetDialog();
    EXPECT_TRUE(GuiRoots[1]->Modal);
    Release(*dialog->LeftButton);
    PollResetDialog();
    EXPECT_FALSE(GuiRoots[1]->Modal);
    EXPECT_EQ(levelIndex, 1);
    EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
    EXPECT_EQ(gameState, STATE_NEW_GAME);
    EXPECT_TRUE(GuiRoots[1]->GetObject("close")->Enabled());
    kestrum::framework::Config saved;
    saved.Parse(platform::LoadString(home + ".zandrovia.pref.dat"));
    EXPECT_EQ(saved.ReadInt("levelIndex", 0), 1);
    EXPECT_TRUE(saved.ReadBool("instructions1", false));
}

TEST_F(PauseMenu, ResetDialogLayout) {
    // A text with two line feeds gives three centred lines from 48 down.
    auto dialog = Dialog::New(GuiRoots[1].get(), kestrum::framework::Content->GetImage("gui/dialog_window.png"),
                              kestrum::framework::Content->GetImage("gui/dialog_button.png"),
                              kestrum::gui::GuiContent->GetFont(TitleFont, 32), "ONE\nTWO TWO\nTHREE", {48, 48},
                              "YES", "NO", 16);
    EXPECT_FLOAT_EQ(dialog->X(), 568);
    EXPECT_FLOAT_EQ(dialog->Y(), 320);
    std::vector<std::shared_ptr<kestrum::gui::GuiLabel>> lines;
    for (const auto& member : dialog->Members) {
        if (auto label = std::dynamic_pointer_cast<kestrum::gui::GuiLabel>(member)) lines.push_back(label);
    }
    ASSERT_EQ(lines.size(), 3u);
    float y = 48;
    for (const auto& line : lines) {
        EXPECT_FLOAT_EQ(line->Y(), y);
        EXPECT_FLOAT_EQ(line->X() + line->Width() / 2, 300);
        y += static_cast<float>(static_cast<int>(line->Height()));
    }
    // The buttons mirror each other around the centre, gap apart, 48 above the bottom.
    const float w = dialog->LeftButton->Width();
    EXPECT_FLOAT_EQ(dialog->LeftButton->X(), 300 - w / 2 - 8);
    EXPECT_FLOAT_EQ(dialog->RightButton->X(), 300 + w / 2 + 8);
    EXPECT_FLOAT_EQ(dialog->LeftButton->Y(), 300 - 30 - 48);
    EXPECT_FLOAT_EQ(dialog->RightButton->Y(), dialog->LeftButton->Y());
    EXPECT_FLOAT_EQ(dialog->LeftButton->Caption.OffsetY(), -2);
    EXPECT_FALSE(dialog->LeftButton->Pausable);
    EXPECT_EQ(dialog->LeftButton->Text(), "YES");
    EXPECT_EQ(dialog->RightButton->Text(), "NO");
}

TEST_F(PauseMenu, ClosingAsEscapeDoesKeepsManualPaused) {
    ASSERT_TRUE(manualPaused);
    ClosePauseMenu();
    EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
    EXPECT_FALSE(TasksPaused());
    EXPECT_TRUE(manualPaused);
    EXPECT_EQ(Clicks(), 0);
}

TEST_F(PauseMenu, PausablePauseButtonSleepsWhileThePauseLasts) {
    ASSERT_TRUE(TasksPaused());
    // The pause root answers while paused; the play root's pause button would not.
    GuiMode = GUI_MODE_PLAY;
    Click(*PauseButton);
    EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
    EXPECT_EQ(DownloaderRuns(), 1);
}
