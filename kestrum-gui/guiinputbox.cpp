#include "kestrum-gui/guiinputbox.h"

#include <algorithm>

#include "kestrum-gui/gui.h"
#include "platform/text.h"

namespace kestrum::gui {

void GuiInputBox::InitFields() {
    AllowedChars.clear();
    TextMargin = 0;
    Caret = framework::Cursor();
    // The caret block is as wide as the character under it.
    Caret.CaretWidth(0);
    CaretColor = {0.5f, 0.5f, 0.5f, 1};
    submitted_ = false;
    ForbiddenChars.clear();
    Texts = framework::TextSet();
    MaxLength = 0;
    CentreText = false;
}

void GuiInputBox::Text(const std::string& value) {
    Texts.Text = value;
    Caret.Position(platform::CharCount(value));
}

bool GuiInputBox::Submitted() {
    const bool value = submitted_;
    submitted_ = false;
    return value;
}

bool GuiInputBox::AllowedChars_(int code) const {
    return std::find(AllowedChars.begin(), AllowedChars.end(), code) != AllowedChars.end();
}

bool GuiInputBox::ForbiddenChars_(int code) const {
    return std::find(ForbiddenChars.begin(), ForbiddenChars.end(), code) != ForbiddenChars.end();
}

void GuiInputBox::OnReleased_() {
    if (!Ghosted) FocusedObject = Self();
}

void GuiInputBox::OnKeyEvent(const platform::KeyEvent& event) {
    if (Ghosted || FocusedObject.lock().get() != this) return;
    const bool full = (MaxLength != 0 && platform::CharCount(Texts.Text) >= MaxLength) ||
                      Texts.Width() > Images.Width() - static_cast<float>(TextMargin);
    if (full) {
        Texts.Text = Caret.HandleKey(event, Texts.Text);
        return;
    }
    if (event.type == platform::KeyEvent::KeyDown && event.key == platform::Key::Enter) submitted_ = true;
    Texts.Text = Caret.HandleText(event, Texts.Text);
}

void GuiInputBox::Draw(platform::Canvas& canvas) {
    GuiImage::Draw(canvas);
    if ((Texts.Text.empty() && !Texts.Font) || Frame < 0) return;
    const int state = RenderState();
    const bool focused = FocusedObject.lock().get() == this;
    const float x = CentreText ? Width() * 0.5f - Texts.Width() * 0.5f : static_cast<float>(TextMargin) * 0.5f;
    const float y = Height() * 0.5f - Texts.Height() * 0.5f;
    canvas.PushMatrix();
    ApplyDrawData_(canvas, *Texts.DrawData(state, Frame));
    canvas.Font(Texts.Font);
    canvas.Scale(ScaleX, ScaleY);
    Caret.DrawText(canvas, Texts.Text, x, y, focused, canvas.Color(), CaretColor);
    canvas.PopMatrix();
}

}  // namespace kestrum::gui
