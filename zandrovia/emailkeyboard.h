// Zandrovia: the on-screen keyboard for the player's e-mail address.
//
// Keys append (upper case, at most MaxEmailLength characters), "back"
// removes the last character, "clear" empties the e-mail only. "ok" posts
// the score (when there is a score and a name and the hall of fame is on)
// and goes on to the "GAME OVER" message.
//
// Depends on keyboard.h, the game's globals and the score service.
#pragma once

#include <memory>
#include <string>

#include "zandrovia/keyboard.h"

inline constexpr int MaxEmailLength = 24;

class EmailKeyboard : public Keyboard {
public:
    // An empty group, then Init with the same arguments; the caller sets its layer and place.
    static std::shared_ptr<EmailKeyboard> New(const std::shared_ptr<platform::Font>& font, const KeyImages& images,
                                              int border, const std::string& layout, int gap);

    // Builds EmailDisplay in the keyboard's layer; its text is the saved "email".
    void InitNameDisplay(const std::shared_ptr<platform::Font>& font, int x, int y, platform::Color color);

    void OnKeyHit(const std::string& key) override;
    void OnKeyReleased(const std::string& key) override;
};

// The e-mail as typed (null until the keyboard's display is built).
extern std::shared_ptr<Keyboard::Display> EmailDisplay;
