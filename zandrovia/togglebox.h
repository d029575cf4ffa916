// Zandrovia: the pause menu's sound and music switches.
//
// A ToggleBox is a check box of two frames: frame 0 means on, frame 1 off,
// and every completed click steps to the other frame. SoundToggle gates
// every sound effect of the game and MusicToggle the music; until the menu
// exists both count as on.
//
// Depends on kestrum-gui (GuiCheckbox) and globals.h.
#pragma once

#include "kestrum-gui/guiimage.h"

class ToggleBox : public kestrum::gui::GuiCheckbox {
public:
    // The click of a toggle: "music" clicks while sound is on; "sound" clicks
    // only when the press is about to switch sound on.
    void OnHit() override;
};

// True while SoundToggle shows frame 0 (or does not exist yet).
bool SoundOn();
// True while MusicToggle shows frame 0 (or does not exist yet).
bool MusicOn();
