// Zandrovia: the part the two on-screen keyboards of the high-score entry
// share (NameKeyboard, EmailKeyboard).
//
// A keyboard is a group of rows of keys built from a layout text (rows
// separated by "\n", keys by ","); keys are pressed with the pointer only.
// A key's Name is its layout text in lower case; its caption is the text as
// written. A key passes its trimmed name to the keyboard when the pointer
// goes down on it (OnKeyHit, which edits the text) and when it is released
// on it (OnKeyReleased, which acts on "ok" and "skip"). Each keyboard shows
// its text in a Display: a label in the keyboard's layer that draws a hint
// while the text is empty and a blinking cursor while there is room for
// more characters.
//
// Depends on kestrum-gui (GuiGroup, GuiButton, GuiLabel) and the game's
// preferences and localization.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "kestrum-gui/guigroup.h"
#include "kestrum-gui/guiimage.h"
#include "kestrum-gui/guilabel.h"
#include "platform/font.h"
#include "platform/image.h"

// Key images by render state: normal, active, over, down, ghosted (null: none).
using KeyImages = std::array<platform::ImagePtr, 5>;

class Keyboard : public kestrum::gui::GuiGroup {
public:
    class Key : public kestrum::gui::GuiButton {
    public:
        void OnHit() override;
        void OnReleased() override;
        // Keys ignore the physical keyboard.
        void OnKeyEvent(const platform::KeyEvent&) override {}

    private:
        std::shared_ptr<Keyboard> Keyboard_() const;
    };

    class Display : public kestrum::gui::GuiLabel {
    public:
        Display(int maxLength, std::string hintKey);

        // Draws left until the cursor toggles.
        int BlinkCount = 20;
        // The cursor appended to the shown text: "_" or empty.
        std::string CursorText = "_";

        // The text in characters (not bytes).
        int Length() const;
        int MaxLength() const { return maxLength_; }
        void Draw(platform::Canvas& canvas) override;

    private:
        int maxLength_;
        std::string hintKey_;
    };

    // Builds the rows and keys: each key is at least as large as its images
    // and grows to its caption plus 4 × gap wide and 2 × gap high; keys of a
    // row stand gap apart; rows are the normal image's height plus gap apart
    // and centred on one another.
    void Init(const std::shared_ptr<platform::Font>& font, const KeyImages& images, int border,
              const std::string& layout, int gap);

    // The pointer went down on the key (its trimmed name).
    virtual void OnKeyHit(const std::string&) {}
    // The pointer was released on the key.
    virtual void OnKeyReleased(const std::string&) {}

protected:
    // A display in the keyboard's layer at (x, y) whose text is the
    // preferences value of prefsKey.
    std::shared_ptr<Display> MakeDisplay_(const std::shared_ptr<platform::Font>& font, int x, int y,
                                          platform::Color color, int maxLength, const std::string& hintKey,
                                          const std::string& prefsKey);
    // Appends a character while the display holds fewer than its most.
    static void AppendCharacter_(Display& display, const std::string& character);
    // Removes the display's last character.
    static void Backspace_(Display& display);
};
