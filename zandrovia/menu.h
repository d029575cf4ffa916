// Zandrovia: the pause menu.
//
// A window holding the sound and music toggles, the buttons "replay",
// "reset", "close", "homepage", "facebook", "twitter" and "privacy", and the
// credits box; the layout file "gui/skin.txt" places them inside the window
// by name. Toggles and buttons are not pausable, so they answer the pointer
// while the task clock is paused, which it is whenever the menu shows.
//
// Depends on kestrum-gui and the game's Button, ToggleBox and CreditBox.
#pragma once

#include <memory>

#include "kestrum-gui/guigroup.h"

class Menu : public kestrum::gui::GuiGroup {
public:
    // Builds the menu in the layer, sets SoundToggle, MusicToggle and
    // Credits, and applies the layout file to the layer.
    static std::shared_ptr<Menu> New(kestrum::gui::GuiLayer* layer);
};

// Closes the menu: play mode again and the task clock runs.
void ClosePauseMenu();
