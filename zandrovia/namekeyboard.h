// Zandrovia: the on-screen keyboard for the player's name.
//
// Letters, "space", ".", "-" append (upper case, at most MaxNameLength
// characters), "back" removes the last character, "clear" empties the name
// and the e-mail. "ok" with a name (a blank counts) goes on to the e-mail
// keyboard; "skip" goes on to the "GAME OVER" message without a post.
//
// Depends on keyboard.h and the game's globals.
#pragma once

#include <memory>
#include <string>

#include "zandrovia/keyboard.h"

inline constexpr int MaxNameLength = 12;

class NameKeyboard : public Keyboard {
public:
    // An empty group, then Init with the same arguments; the caller sets its layer and place.
    static std::shared_ptr<NameKeyboard> New(const std::shared_ptr<platform::Font>& font, const KeyImages& images,
                                             int border, const std::string& layout, int gap);

    // Builds NameDisplay in the keyboard's layer; its text is the saved "player".
    void InitNameDisplay(const std::shared_ptr<platform::Font>& font, int x, int y, platform::Color color);

    void OnKeyHit(const std::string& key) override;
    void OnKeyReleased(const std::string& key) override;
};

// The name as typed (null until the keyboard's display is built).
extern std::shared_ptr<Keyboard::Display> NameDisplay;
