// Zandrovia: the pause menu.
#include "zandrovia/menu.h"

#include <cstdio>
#include <string>

#include "kestrum-framework/contentmanager.h"
#include "kestrum-framework/taskmanager.h"
#include "kestrum-gui/guiloader.h"
#include "zandrovia/button.h"
#include "zandrovia/constants.h"
#include "zandrovia/creditbox.h"
#include "zandrovia/globals.h"
#include "zandrovia/togglebox.h"

namespace {

platform::ImagePtr MenuImage(const std::string& path) { return kestrum::framework::Content->GetImage(path); }

std::shared_ptr<ToggleBox> AddToggle(const std::shared_ptr<Menu>& menu, const std::string& name,
                                     const std::string& images) {
    auto toggle = std::make_shared<ToggleBox>();
    toggle->Group(menu);
    toggle->Name = name;
    toggle->Images.DrawData(kestrum::gui::GuiState::Normal, 0)->Image = MenuImage("gui/" + images + "_normal.png");
    toggle->Images.DrawData(kestrum::gui::GuiState::Over, 0)->Image = MenuImage("gui/" + images + "_mouseover.png");
    toggle->Images.DrawData(kestrum::gui::GuiState::Normal, 1)->Image =
        MenuImage("gui/" + images + "_normal_off.png");
    toggle->Images.DrawData(kestrum::gui::GuiState::Over, 1)->Image =
        MenuImage("gui/" + images + "_mouseover_off.png");
    toggle->Frame = 0;
    toggle->Pausable = false;
    return toggle;
}

std::shared_ptr<Button> AddButton(const std::shared_ptr<Menu>& menu, const std::string& name,
                                  const std::string& normal, const std::string& over) {
    auto button = std::make_shared<Button>();
    button->Group(menu);
    button->Name = name;
    button->Images.DrawData(kestrum::gui::GuiState::Normal, 0)->Image = MenuImage(normal);
    if (!over.empty()) button->Images.DrawData(kestrum::gui::GuiState::Over, 0)->Image = MenuImage(over);
    button->Pausable = false;
    return button;
}

}  // namespace

std::shared_ptr<Menu> Menu::New(kestrum::gui::GuiLayer* layer) {
    auto menu = std::make_shared<Menu>();
    if (CheatKeys) {
        std::printf("Menu.New()\n");
        std::fflush(stdout);
    }
    kestrum::gui::CreateGroup(menu, MenuImage("gui/window.png"));
    menu->AllowedStates = {kestrum::gui::GuiState::Normal};
    menu->Layer(layer);

    SoundToggle = AddToggle(menu, "sound", "sound");
    MusicToggle = AddToggle(menu, "music", "music");
    AddButton(menu, "replay", "gui/restart_normal.png", "gui/restart_mouseover.png");
    AddButton(menu, "reset", "gui/reset_game_normal.png", "gui/reset_game_mouseover.png");
    AddButton(menu, "close", "gui/resume_normal.png", "gui/resume_mouseover.png");
    AddButton(menu, "homepage", "gui/homepage_button.png", "gui/homepage_button_mouseover.png");
    AddButton(menu, "facebook", "gui/facebook_button.png", "gui/facebook_button_mouseover.png");
    AddButton(menu, "twitter", "gui/twitter_button.png", "gui/twitter_button_mouseover.png");
    // The eye has no picture of its own under the pointer: it shows half-transparent.
    auto privacy = AddButton(menu, "privacy", "gui/eye.png", "");
    privacy->Images.DrawData(kestrum::gui::GuiState::Over, 0)->Alpha(0.5f);

    Credits = CreditBox::New(menu, 338, 430);
    Credits->Name = "credits";
    Credits->Init_();

    if (layer) kestrum::gui::GuiLoader("gui/skin.txt", *layer);
    return menu;
}

void ClosePauseMenu() {
    GuiMode = GUI_MODE_PLAY;
    kestrum::framework::SetTasksPaused(false);
}
