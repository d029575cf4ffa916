// Zandrovia: a modal window with centred lines of text and two buttons.
//
// The dialog does not act on its buttons: its owner polls their Released
// flags. The game uses one to confirm a reset of the saved progress: the
// pause menu's "reset" opens it (OpenResetDialog) and the Game screen's
// update polls it (PollResetDialog).
//
// Depends on kestrum-gui (GuiGroup, GuiButton, GuiLabel); the reset dialog
// also on the game's globals, localization and preferences.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "kestrum-gui/guigroup.h"
#include "kestrum-gui/guiimage.h"
#include "platform/font.h"
#include "platform/image.h"

class Dialog : public kestrum::gui::GuiGroup {
public:
    // The right-hand button (cancel) and the left-hand one (confirm).
    std::shared_ptr<kestrum::gui::GuiButton> RightButton;
    std::shared_ptr<kestrum::gui::GuiButton> LeftButton;

    // Builds the dialog centred in the layer: the window image as its
    // surface, text split at line feeds into centred labels from margins[0]
    // down, and the two buttons side by side, gap apart, margins[1] above
    // the bottom edge.
    static std::shared_ptr<Dialog> New(kestrum::gui::GuiLayer* layer, const std::shared_ptr<platform::Image>& window,
                                       const std::shared_ptr<platform::Image>& buttonImage,
                                       const std::shared_ptr<platform::Font>& font, const std::string& text,
                                       std::array<int, 2> margins, const std::string& leftText,
                                       const std::string& rightText, int gap);
};

// Builds the reset confirmation ("reset_game", "yes", "no") over the pause
// root and makes it the root's modal object.
void OpenResetDialog();
// What the Game screen's update does with the reset dialog while it is the
// pause root's modal object: "yes" released resets the saved level to 1,
// saves, enables "close" and starts a new game; "no" released only closes
// the dialog. Either closes it; nothing happens before a release.
void PollResetDialog();
