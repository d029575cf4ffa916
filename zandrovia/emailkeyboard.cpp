// Zandrovia: the on-screen keyboard for the player's e-mail address.
#include "zandrovia/emailkeyboard.h"

#include "platform/text.h"
#include "zandrovia/constants.h"
#include "zandrovia/globals.h"
#include "zandrovia/namekeyboard.h"
#include "zandrovia/scoreservice.h"

std::shared_ptr<Keyboard::Display> EmailDisplay;

std::shared_ptr<EmailKeyboard> EmailKeyboard::New(const std::shared_ptr<platform::Font>& font,
                                                  const KeyImages& images, int border, const std::string& layout,
                                                  int gap) {
    auto keyboard = std::make_shared<EmailKeyboard>();
    keyboard->Init(font, images, border, layout, gap);
    return keyboard;
}

void EmailKeyboard::InitNameDisplay(const std::shared_ptr<platform::Font>& font, int x, int y,
                                    platform::Color color) {
    EmailDisplay = MakeDisplay_(font, x, y, color, MaxEmailLength, "enter_mail", "email");
}

void EmailKeyboard::OnKeyHit(const std::string& key) {
    if (!EmailDisplay) return;
    if (key == "back") {
        Backspace_(*EmailDisplay);
    } else if (key == "clear") {
        EmailDisplay->Text("");
    } else if (key != "ok" && key != "skip") {
        AppendCharacter_(*EmailDisplay, platform::ToUpper(key));
    }
}

void EmailKeyboard::OnKeyReleased(const std::string& key) {
    if (key == "ok") {
        const std::string name = NameDisplay ? NameDisplay->Text() : std::string();
        if (Score > 0 && !name.empty() && HALL_OF_FAME_ENABLED) {
            const std::string email = EmailDisplay ? EmailDisplay->Text() : std::string();
            PostScore(ScoreServiceUrl, ScoreRecord(Score, name, email, levelIndex, VERSION, SystemLocale));
        }
    } else if (key != "skip") {
        return;
    }
    GuiMode = GUI_MODE_PLAY;
    gameState = STATE_GAME_OVER + 2;
}
