// Zandrovia: the two figures of the play HUD.
#include "zandrovia/hudlabels.h"

#include <string>

#include "kestrum-gui/gui.h"
#include "zandrovia/constants.h"
#include "zandrovia/globals.h"
#include "zandrovia/zandrovia.h"

namespace {

template <class Label>
std::shared_ptr<Label> NewHudLabel(kestrum::gui::GuiLayer* layer) {
    auto label = std::make_shared<Label>();
    label->Layer(layer);
    label->Font(kestrum::gui::GuiContent->GetFont(TextFont, 32));
    return label;
}

}  // namespace

std::shared_ptr<Progress> Progress::New(kestrum::gui::GuiLayer* layer) { return NewHudLabel<Progress>(layer); }

void Progress::OnUpdate() { Text(std::to_string(AttackersLeft)); }

void Progress::Draw(platform::Canvas& canvas) {
    Alpha(Fade);
    GuiLabel::Draw(canvas);
}

std::shared_ptr<ScoreBoard> ScoreBoard::New(kestrum::gui::GuiLayer* layer) {
    return NewHudLabel<ScoreBoard>(layer);
}

void ScoreBoard::OnUpdate() { Text(ZeroPad(Score, 8)); }

void ScoreBoard::Draw(platform::Canvas& canvas) {
    Alpha(Fade);
    GuiLabel::Draw(canvas);
}
