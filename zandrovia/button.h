// Zandrovia: every button of the game's menus and HUD.
//
// One class carries all button behaviour: what a release does is chosen by
// the button's Name ("pause", "close", "replay", "reset", "homepage",
// "facebook", "twitter", "privacy"; any other name does nothing). Every
// release first clears manualPaused. The click sound plays while sound is on.
//
// Depends on kestrum-gui (GuiButton) and the game's menu, dialog, credits
// and score service.
#pragma once

#include <functional>
#include <string>

#include "kestrum-gui/guiimage.h"

class Button : public kestrum::gui::GuiButton {
public:
    void OnReleased() override;
};

// The menu click: ImpactSound once, while sound is on.
void PlayClick();

// Opens a web page in the browser without waiting (platform::OpenUrl);
// tests replace it.
extern std::function<void(const std::string&)> OpenWebPage;
