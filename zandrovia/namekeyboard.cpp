// Zandrovia: the on-screen keyboard for the player's name.
#include "zandrovia/namekeyboard.h"

#include "platform/text.h"
#include "zandrovia/constants.h"
#include "zandrovia/emailkeyboard.h"
#include "zandrovia/globals.h"

std::shared_ptr<Keyboard::Display> NameDisplay;

std::shared_ptr<NameKeyboard> NameKeyboard::New(const std::shared_ptr<platform::Font>& font, const KeyImages& images,
                                                int border, const std::string& layout, int gap) {
    auto keyboard = std::make_shared<NameKeyboard>();
    keyboard->Init(font, images, border, layout, gap);
    return keyboard;
}

void NameKeyboard::InitNameDisplay(const std::shared_ptr<platform::Font>& font, int x, int y, platform::Color color) {
    NameDisplay = MakeDisplay_(font, x, y, color, MaxNameLength, "enter_name", "player");
}

void NameKeyboard::OnKeyHit(const std::string& key) {
    if (!NameDisplay) return;
    if (key == "back") {
        Backspace_(*NameDisplay);
    } else if (key == "space") {
        AppendCharacter_(*NameDisplay, " ");
    } else if (key == "clear") {
        NameDisplay->Text("");
        if (EmailDisplay) EmailDisplay->Text("");
    } else if (key != "ok" && key != "skip") {
        AppendCharacter_(*NameDisplay, platform::ToUpper(key));
    }
}

void NameKeyboard::OnKeyReleased(const std::string& key) {
    if (key == "ok") {
        if (NameDisplay && !NameDisplay->Text().empty()) GuiMode = GUI_MODE_EMAIL;
    } else if (key == "skip") {
        GuiMode = GUI_MODE_PLAY;
        gameState = STATE_GAME_OVER + 2;
    }
}
