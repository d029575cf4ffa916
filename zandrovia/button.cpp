// Zandrovia: every button of the game's menus and HUD.
#include "zandrovia/button.h"

#include "kestrum-framework/taskmanager.h"
#include "kestrum-gui/guilayer.h"
#include "platform/system.h"
#include "zandrovia/constants.h"
#include "zandrovia/creditbox.h"
#include "zandrovia/dialog.h"
#include "zandrovia/globals.h"
#include "zandrovia/menu.h"
#include "zandrovia/scoreservice.h"
#include "zandrovia/togglebox.h"

std::function<void(const std::string&)> OpenWebPage = [](const std::string& url) { platform::OpenUrl(url); };

void PlayClick() {
    if (SoundOn() && ImpactSound) ImpactSound->Play();
}

namespace {

void OpenPage(const std::string& url) {
    PlayClick();
    if (OpenWebPage) OpenWebPage(url);
}

}  // namespace

void Button::OnReleased() {
    manualPaused = false;
    if (Name == "reset") {
        OpenResetDialog();
    } else if (Name == "replay") {
        PlayClick();
        if (GuiRoots[GUI_MODE_PAUSE]) {
            if (auto close = GuiRoots[GUI_MODE_PAUSE]->GetObject("close")) close->Enabled(true);
        }
        GuiMode = GUI_MODE_PLAY;
        gameState = STATE_NEW_GAME;
    } else if (Name == "pause") {
        if (kestrum::framework::TasksPaused()) {
            ClosePauseMenu();
        } else {
            manualPaused = true;
            FetchHiscores(ScoreServiceUrl);
            GuiMode = GUI_MODE_PAUSE;
            if (Credits) Credits->Init_();
            kestrum::framework::SetTasksPaused(true);
        }
    } else if (Name == "close") {
        PlayClick();
        ClosePauseMenu();
    } else if (Name == "facebook") {
        OpenPage(SocialUrl1);
    } else if (Name == "twitter") {
        OpenPage(SocialUrl2);
    } else if (Name == "homepage") {
        OpenPage(HomepageUrl);
    } else if (Name == "privacy") {
        OpenPage(PrivacyUrl);
    }
}
