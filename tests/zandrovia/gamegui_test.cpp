// The Game screen's GUI: the four roots and the pointer layer, where the HUD,
// the menu and the keyboards stand, the HUD labels' texts and fading, and
// screenshots of the pause menu and the name keyboard.
#include <gtest/gtest.h>

#include "kestrum-gui/guilabel.h"
#include "shelltest.h"
#include "zandrovia/hudlabels.h"
#include "zandrovia/menu.h"
#include "zandrovia/mousepointer.h"

namespace {

using shelltest::ShellTest;
using GameGui = ShellTest;

template <class T>
std::shared_ptr<T> Find(kestrum::gui::GuiLayer& layer) {
    for (const auto& object : layer.Objects) {
        if (auto found = std::dynamic_pointer_cast<T>(object)) return found;
    }
    return nullptr;
}

// Whether any pixel of the rectangle is brighter than the background.
bool AnythingDrawn(const platform::Pixmap& pixels, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const platform::Color c = pixels.GetPixel(x, y);
            if (c.r > 0.3f || c.g > 0.3f || c.b > 0.3f) return true;
        }
    }
    return false;
}

}  // namespace

TEST_F(GameGui, FourNamedRootsAndThePointerLayer) {
    const char* names[] = {"", "pause mode", "name input mode", "email input mode"};
    for (int mode = 0; mode < 4; ++mode) {
        ASSERT_TRUE(GuiRoots[static_cast<std::size_t>(mode)]);
        EXPECT_EQ(GuiRoots[static_cast<std::size_t>(mode)]->Name, names[mode]);
        EXPECT_EQ(GuiRoots[static_cast<std::size_t>(mode)]->VirtualWidth(), 1136);
        EXPECT_EQ(GuiRoots[static_cast<std::size_t>(mode)]->VirtualHeight(), 640);
    }
    ASSERT_TRUE(MousePointerRoot);
    EXPECT_EQ(MousePointerRoot->VirtualHeight(), 640);
    auto pointer = Find<MousePointer>(*MousePointerRoot);
    ASSERT_TRUE(pointer);
    EXPECT_FLOAT_EQ(pointer->Alpha(), 0.75f);
    EXPECT_EQ(pointer->Width(), 48);
}

TEST_F(GameGui, HudStandsAtTheTopOfThePlayRoot) {
    ASSERT_TRUE(PauseButton);
    EXPECT_EQ(PauseButton->Layer(), GuiRoots[0].get());
    EXPECT_EQ(PauseButton->Name, "pause");
    EXPECT_TRUE(PauseButton->Pausable);
    EXPECT_FLOAT_EQ(PauseButton->X(), 1112 - PauseButton->Width() / 2);
    EXPECT_FLOAT_EQ(PauseButton->Y(), 24 + PauseButton->Height() / 2);
    EXPECT_TRUE(PauseButton->Images.DrawData(kestrum::gui::GuiState::Down, 0)->Image);

    auto progress = Find<Progress>(*GuiRoots[0]);
    auto scoreBoard = Find<ScoreBoard>(*GuiRoots[0]);
    ASSERT_TRUE(progress && scoreBoard);
    EXPECT_FLOAT_EQ(progress->X(), 142);
    EXPECT_FLOAT_EQ(scoreBoard->X(), 568);
    ASSERT_TRUE(progress->Font());
    EXPECT_FLOAT_EQ(progress->Font()->Size(), 32);
    EXPECT_FLOAT_EQ(progress->Y(), progress->Height() / 2 + 16);
    EXPECT_FLOAT_EQ(scoreBoard->Y(), scoreBoard->Height() / 2 + 16);

    auto menu = GuiRoots[1]->GetObject("menu");
    ASSERT_TRUE(std::dynamic_pointer_cast<Menu>(menu));
    EXPECT_FLOAT_EQ(menu->X(), 568);
    EXPECT_FLOAT_EQ(menu->Y(), 320);
}

TEST_F(GameGui, KeyboardsAreCentredWithTheirDisplaysAbove) {
    const struct {
        kestrum::gui::GuiObject* keyboard;
        kestrum::gui::GuiLabel* display;
        int root;
        float fontSize;
    } cases[] = {{NameEntry.get(), NameDisplay.get(), 2, 64}, {EmailEntry.get(), EmailDisplay.get(), 3, 32}};
    for (const auto& c : cases) {
        ASSERT_TRUE(c.keyboard && c.display);
        EXPECT_EQ(c.keyboard->Layer(), GuiRoots[static_cast<std::size_t>(c.root)].get());
        EXPECT_FLOAT_EQ(c.keyboard->X(), 568);
        EXPECT_FLOAT_EQ(c.keyboard->Y(), 320);
        // The display is a widget of the layer, not of the keyboard.
        EXPECT_FALSE(c.display->Group());
        EXPECT_EQ(c.display->Layer(), c.keyboard->Layer());
        EXPECT_FLOAT_EQ(c.display->X(), 568);
        EXPECT_FLOAT_EQ(c.display->Y(), 80);
        EXPECT_FLOAT_EQ(c.display->Font()->Size(), c.fontSize);
        EXPECT_EQ(c.display->Color, (platform::Color{0, 1, 0, 1}));
    }
}

TEST_F(GameGui, HudLabelsShowTheFiguresAndFadeWithTheScreen) {
    const struct {
        int score;
        int attackers;
        const char* scoreText;
        const char* attackersText;
    } cases[] = {{0, 0, "00000000", "0"}, {1234, 17, "00001234", "17"}, {123456789, 3, "23456789", "3"}};
    auto progress = Find<Progress>(*GuiRoots[0]);
    auto scoreBoard = Find<ScoreBoard>(*GuiRoots[0]);
    for (const auto& c : cases) {
        Score = c.score;
        AttackersLeft = c.attackers;
        Frame(10, 600, false);
        EXPECT_EQ(scoreBoard->Text(), c.scoreText);
        EXPECT_EQ(progress->Text(), c.attackersText);
    }

    Score = 88888888;
    Frame(10, 600, false);
    for (const float fade : {1.0f, 0.5f, 0.0f}) {
        Fade = fade;
        const auto pixels = Screenshot({GuiRoots[0].get()}, "hud-fade" + std::to_string(static_cast<int>(fade * 100)));
        EXPECT_FLOAT_EQ(scoreBoard->Alpha(), fade);
        EXPECT_FLOAT_EQ(progress->Alpha(), fade);
        EXPECT_EQ(AnythingDrawn(*pixels, 400, 16, 736, 70), fade > 0) << fade;
        // The pause button does not fade.
        EXPECT_TRUE(AnythingDrawn(*pixels, 1052, 24, 1112, 84));
    }
}

TEST_F(GameGui, ScreenshotsOfThePauseMenuAndTheNameKeyboard) {
    // The menu as the pause button opens it during play.
    Click(*PauseButton);
    ASSERT_EQ(GuiMode, GUI_MODE_PAUSE);
    for (int i = 0; i < 200; ++i) Frame(700, 300, false);
    const auto menu = Screenshot({GuiRoots[1].get(), MousePointerRoot.get()}, "pause-menu");
    // The window, the credits box and the resume button are drawn.
    EXPECT_TRUE(AnythingDrawn(*menu, 158, 80, 978, 90));
    EXPECT_TRUE(AnythingDrawn(*menu, 200, 200, 500, 500));
    EXPECT_TRUE(AnythingDrawn(*menu, 750, 200, 850, 240));

    kestrum::framework::SetTasksPaused(false);
    GuiMode = GUI_MODE_NAME;
    NameDisplay->Text("COMMANDER");
    Frame(600, 400, false);
    const auto keyboard = Screenshot({GuiRoots[2].get(), MousePointerRoot.get()}, "name-keyboard");
    EXPECT_TRUE(AnythingDrawn(*keyboard, 300, 50, 836, 110));
    EXPECT_TRUE(AnythingDrawn(*keyboard, 200, 200, 936, 500));
}
