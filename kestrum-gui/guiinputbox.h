// GuiInputBox: a one-line text field drawn over an image. A click gives it
// the keyboard focus (FocusedObject); typed characters (codes 32 to 126) are
// inserted at a blinking caret and the usual editing keys move the caret and
// delete. Text is refused once it holds MaxLength characters or is wider
// than the background minus TextMargin; editing keys still work then.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kestrum-framework/cursor.h"
#include "kestrum-framework/drawdata.h"
#include "kestrum-gui/guiimage.h"

namespace kestrum::gui {

class GuiInputBox : public GuiImage {
public:
    GuiInputBox() { InitFields(); }

    // Character codes listed as allowed or forbidden; typing does not consult them.
    std::vector<int> AllowedChars;
    // Text is accepted while no wider than the background minus this; uncentred text starts at half of it.
    int TextMargin = 0;
    framework::Cursor Caret;
    platform::Color CaretColor{0.5f, 0.5f, 0.5f, 1};
    std::vector<int> ForbiddenChars;
    framework::TextSet Texts;
    // The most characters the text may hold; 0 = no limit.
    int MaxLength = 0;
    bool CentreText = false;

    void InitFields();
    // Sets the text and puts the caret after its last character.
    void Text(const std::string& value);
    const std::string& Text() const { return Texts.Text; }
    void Font(const std::shared_ptr<platform::Font>& value) { Texts.Font = value; }
    const std::shared_ptr<platform::Font>& Font() const { return Texts.Font; }
    void Submitted(bool value) { submitted_ = value; }
    // Whether Enter was pressed since the last read; reading clears it.
    bool Submitted();

    void OnKeyEvent(const platform::KeyEvent& event) override;
    void Draw(platform::Canvas& canvas) override;

protected:
    void OnReleased_() override;

private:
    bool AllowedChars_(int code) const;
    bool ForbiddenChars_(int code) const;

    bool submitted_ = false;
};

}  // namespace kestrum::gui
