// Zandrovia: the Game screen's GUI roots (a first version: empty layers).
#include "kestrum-gui/guilayer.h"
#include "zandrovia/globals.h"
#include "zandrovia/zandrovia.h"

void Game::InitGui_() {
    for (auto& root : GuiRoots) {
        root = std::make_shared<kestrum::gui::GuiLayer>(Manager());
        root->SetVirtualWidth(1136);
    }
    MousePointerRoot = std::make_shared<kestrum::gui::GuiLayer>(Manager());
    MousePointerRoot->SetVirtualHeight(640);
}
