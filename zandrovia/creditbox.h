// Zandrovia: the pause menu's scrolling box of how-to-play text, hall of
// fame and credits.
//
// The box is rebuilt (Init_) every time the menu opens, right after the hall
// of fame was fetched into HiscoreData: the how-to-play text comes first
// when the player opened the menu during play, else the hall of fame does;
// the credits close the column. The whole column scrolls up by half a unit
// per update and starts again from below the box once it has passed.
//
// Depends on kestrum-gui (GuiScrollBox, GuiLabel, GuiImage), the
// localization and the score service's reply parser.
#pragma once

#include <memory>
#include <string>

#include "kestrum-gui/guilabel.h"
#include "kestrum-gui/guiscrollbox.h"
#include "platform/types.h"

class Button;
class Game;
class Menu;

class CreditBox : public kestrum::gui::GuiScrollBox {
public:
    // A box of that size (needs a GL context for its off-screen image).
    CreditBox(int width, int height);
    // A box joined to the group.
    static std::shared_ptr<CreditBox> New(const std::shared_ptr<kestrum::gui::GuiGroup>& parent, int width,
                                          int height);

    // The raw reply of the last hall-of-fame download; emptied once shown.
    std::string HiscoreData;

    // The automatic scroll.
    void OnUpdate() override;

private:
    // The menu builds the box, the pause button and the game's end rebuild it.
    friend class Button;
    friend class Game;
    friend class Menu;
    friend struct CreditBoxTestAccess;

    // Removes every row and builds the column from the current state
    // (manualPaused, gameState, HALL_OF_FAME_ENABLED, HiscoreData).
    void Init_();
    // Adds the how-to-play title and its wrapped text from y down and
    // returns the y below them.
    int HowToPlay_(int titleSize, platform::Color color, int textSize, int y, int gap);
    // A centred label of TitleFont at size in colour at y.
    std::shared_ptr<kestrum::gui::GuiLabel> AddLabel_(const std::string& text, int size, platform::Color color,
                                                      float y);
};
