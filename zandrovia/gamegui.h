// Zandrovia: the GUI of the Game screen.
//
// Four GUI roots, one per GUI mode (GuiRoots[GuiMode] is updated and drawn),
// and the mouse-pointer layer on top of them in every mode:
//   0 play: the pause button and the HUD labels;
//   1 "pause mode": the pause menu;
//   2 "name input mode": the name keyboard and its display;
//   3 "email input mode": the e-mail keyboard and its display.
// Everything is built once and lives until the process ends.
//
// Depends on kestrum-gui and the game's widgets.
#pragma once

#include <string>

namespace platform {
class Window;
}

// The keyboard layouts (rows separated by "\n", keys by ",", blanks belong to the keys).
extern const std::string NameKeyboardLayout;
extern const std::string EmailKeyboardLayout;

// Builds the four roots, every widget in them and the mouse-pointer layer,
// for the window (the Game screen's manager). Without a window the layers
// stand on a 1136 × 640 view of their own.
void BuildGameGui(platform::Window* window);
