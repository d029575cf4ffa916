// Zandrovia: the two figures of the play HUD.
//
// Progress shows how many enemies of the level are left (AttackersLeft) and
// ScoreBoard the score as eight digits. Both take their text on every update
// of the play root and fade with the screen: each draw takes Fade as alpha.
//
// Depends on kestrum-gui (GuiLabel) and the game's globals.
#pragma once

#include <memory>

#include "kestrum-gui/guilabel.h"

class Progress : public kestrum::gui::GuiLabel {
public:
    // An empty label of TextFont at size 32 in the layer.
    static std::shared_ptr<Progress> New(kestrum::gui::GuiLayer* layer);
    void OnUpdate() override;
    void Draw(platform::Canvas& canvas) override;
};

class ScoreBoard : public kestrum::gui::GuiLabel {
public:
    // An empty label of TextFont at size 32 in the layer.
    static std::shared_ptr<ScoreBoard> New(kestrum::gui::GuiLayer* layer);
    void OnUpdate() override;
    void Draw(platform::Canvas& canvas) override;
};
