// Zandrovia: the GUI of the Game screen.
#include "zandrovia/gamegui.h"

#include <cstdio>
#include <memory>

#include "kestrum-framework/contentmanager.h"
#include "kestrum-gui/gui.h"
#include "kestrum-gui/guilayer.h"
#include "platform/image.h"
#include "zandrovia/button.h"
#include "zandrovia/constants.h"
#include "zandrovia/creditbox.h"
#include "zandrovia/emailkeyboard.h"
#include "zandrovia/globals.h"
#include "zandrovia/hudlabels.h"
#include "zandrovia/menu.h"
#include "zandrovia/mousepointer.h"
#include "zandrovia/namekeyboard.h"
#include "zandrovia/scoreservice.h"
#include "zandrovia/zandrovia.h"

const std::string NameKeyboardLayout =
    "Q,W,E,R,T,Y,U,I,O,P\nA,S,D,F,G,H,J,K,L\nZ,X,C,V,B,N,M\nCLEAR, SPACE , . , - , BACK , SKIP , OK ";
const std::string EmailKeyboardLayout =
    "Q,W,E,R,T,Y,U,I,O,P\nA,S,D,F,G,H,J,K,L\nZ,X,C,V,B,N,M\n CLEAR , @ , . , - , _ , BACK , OK ";

namespace {

std::shared_ptr<kestrum::gui::GuiLayer> NewLayer(platform::Window* window, const std::string& name) {
    auto layer = window ? std::make_shared<kestrum::gui::GuiLayer>(window)
                        : std::make_shared<kestrum::gui::GuiLayer>(platform::Vec2i{1136, 640});
    layer->Name = name;
    return layer;
}

}  // namespace

void BuildGameGui(platform::Window* window) {
    for (std::size_t mode = 0; mode < GuiRoots.size(); ++mode) {
        static const char* const names[] = {"", "pause mode", "name input mode", "email input mode"};
        GuiRoots[mode] = NewLayer(window, names[mode]);
        GuiRoots[mode]->SetVirtualWidth(1136);
    }
    if (GuiEditor) GuiRoots[GUI_MODE_PAUSE]->EditorMode = true;

    kestrum::gui::GuiLayer* play = GuiRoots[GUI_MODE_PLAY].get();
    const auto width = static_cast<float>(play->VirtualWidth());
    PauseButton = std::make_shared<Button>();
    PauseButton->Layer(play);
    PauseButton->Name = "pause";
    PauseButton->Images.DrawData(kestrum::gui::GuiState::Normal, 0)->Image =
        kestrum::framework::Content->GetImage("gui/pause_idle.png");
    PauseButton->Images.DrawData(kestrum::gui::GuiState::Down, 0)->Image =
        kestrum::framework::Content->GetImage("gui/pause_down.png");
    PauseButton->X(width - PauseButton->Width() * 0.5f - 24);
    PauseButton->Y(PauseButton->Height() * 0.5f + 24);
    PauseButton->Pausable = true;

    auto progress = Progress::New(play);
    progress->X(width * 0.125f);
    progress->Y(progress->Height() * 0.5f + 16);
    auto scoreBoard = ScoreBoard::New(play);
    scoreBoard->X(width * 0.5f);
    scoreBoard->Y(scoreBoard->Height() * 0.5f + 16);

    kestrum::gui::GuiLayer* pause = GuiRoots[GUI_MODE_PAUSE].get();
    auto menu = Menu::New(pause);
    menu->Name = "menu";
    menu->X(static_cast<float>(pause->VirtualWidth()) * 0.5f);
    menu->Y(static_cast<float>(pause->VirtualHeight()) * 0.5f);

    // The key images bypass the content cache.
    KeyImages keys{};
    keys[kestrum::gui::GuiState::Normal] = platform::Image::Load("asset::gui/key_idle.png");
    keys[kestrum::gui::GuiState::Down] = platform::Image::Load("asset::gui/key_down.png");
    const auto keyFont = kestrum::gui::GuiContent->GetFont(TextFont, 32);
    const platform::Color green{0, 1, 0, 1};

    kestrum::gui::GuiLayer* nameRoot = GuiRoots[GUI_MODE_NAME].get();
    NameEntry = NameKeyboard::New(keyFont, keys, 16, NameKeyboardLayout, 8);
    NameEntry->Layer(nameRoot);
    NameEntry->X(static_cast<float>(nameRoot->VirtualWidth()) * 0.5f);
    NameEntry->Y(static_cast<float>(nameRoot->VirtualHeight()) * 0.5f);
    NameEntry->InitNameDisplay(kestrum::gui::GuiContent->GetFont(TextFont, 64),
                               static_cast<int>(static_cast<float>(nameRoot->VirtualWidth()) * 0.5f),
                               static_cast<int>(static_cast<float>(nameRoot->VirtualHeight()) * 0.125f), green);

    kestrum::gui::GuiLayer* emailRoot = GuiRoots[GUI_MODE_EMAIL].get();
    EmailEntry = EmailKeyboard::New(keyFont, keys, 16, EmailKeyboardLayout, 8);
    EmailEntry->Layer(emailRoot);
    EmailEntry->X(static_cast<float>(emailRoot->VirtualWidth()) * 0.5f);
    EmailEntry->Y(static_cast<float>(emailRoot->VirtualHeight()) * 0.5f);
    EmailEntry->InitNameDisplay(keyFont, static_cast<int>(static_cast<float>(emailRoot->VirtualWidth()) * 0.5f),
                                static_cast<int>(static_cast<float>(emailRoot->VirtualHeight()) * 0.125f), green);

    MousePointerRoot = NewLayer(window, "");
    MousePointerRoot->SetVirtualHeight(640);
    MousePointer::New();
}

void Game::InitGui_() {
    if (CheatKeys) {
        std::printf("InitGui_()\n");
        std::fflush(stdout);
    }
    BuildGameGui(Manager());
}

void Game::FetchHiscores_() { FetchHiscores(ScoreServiceUrl); }

void Game::InitCredits_() {
    if (Credits) Credits->Init_();
}
