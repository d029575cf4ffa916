// Zandrovia: the part the two on-screen keyboards share.
#include "zandrovia/keyboard.h"

#include <vector>

#include "kestrum-gui/guilayer.h"
#include "platform/text.h"
#include "zandrovia/globals.h"
#include "zandrovia/localization.h"

// --- Keys ---------------------------------------------------------------------

std::shared_ptr<Keyboard> Keyboard::Key::Keyboard_() const {
    // A key is a member of a row, and the row of the keyboard.
    const auto row = Group();
    return row ? std::dynamic_pointer_cast<Keyboard>(row->Group()) : nullptr;
}

void Keyboard::Key::OnHit() {
    if (auto keyboard = Keyboard_()) keyboard->OnKeyHit(platform::Trim(Name));
}

void Keyboard::Key::OnReleased() {
    if (auto keyboard = Keyboard_()) keyboard->OnKeyReleased(platform::Trim(Name));
}

// --- Display --------------------------------------------------------------------

Keyboard::Display::Display(int maxLength, std::string hintKey) : maxLength_(maxLength), hintKey_(std::move(hintKey)) {}

int Keyboard::Display::Length() const { return platform::CharCount(Text()); }

void Keyboard::Display::Draw(platform::Canvas& canvas) {
    if (!Font() || Frame < 0) return;
    const std::string text = Text();
    const int length = Length();
    if (text.empty()) {
        canvas.PushMatrix();
        canvas.BlendMode(platform::BlendMode::Alpha);
        canvas.Color(Brightness({0.5f, 1, 0.5f, 0.5f}));
        canvas.Font(Font());
        canvas.DrawText(morvane::locale::Localize(hintKey_), X(), Y(), 0.5f, 0.5f);
        canvas.PopMatrix();
    }
    if (length > 0 && length < maxLength_) Texts.Text.append(CursorText);
    GuiLabel::Draw(canvas);
    Texts.Text = text;
    if (--BlinkCount < 0) {
        BlinkCount = 20;
        if (CursorText.empty()) {
            CursorText.assign(1, '_');
        } else {
            CursorText.clear();
        }
    }
}

// --- Keyboard ---------------------------------------------------------------------

void Keyboard::Init(const std::shared_ptr<platform::Font>& font, const KeyImages& images, int border,
                    const std::string& layout, int gap) {
    auto self = std::static_pointer_cast<kestrum::gui::GuiGroup>(Self());
    const float rowPitch = static_cast<float>(images[0] ? images[0]->Height() : 0) + static_cast<float>(gap);
    std::vector<std::shared_ptr<kestrum::gui::GuiGroup>> rows;
    int y = 0;
    for (const std::string& rowText : platform::Split(layout, "\n")) {
        auto row = kestrum::gui::GuiGroup::New(self);
        int x = 0;
        for (const std::string& text : platform::Split(rowText, ",")) {
            auto key = std::make_shared<Key>();
            key->Group(row);
            key->Name = platform::ToLower(text);
            for (int state = 0; state < static_cast<int>(images.size()); ++state) {
                key->Images.DrawData(state, 0)->Image = images[static_cast<std::size_t>(state)];
            }
            key->Font(font);
            key->Text(text);
            key->Handle = {0, 0};
            key->Images.Borders = {border};
            const float wide = key->Caption.Width() + 4.0f * static_cast<float>(gap);
            const float high = key->Caption.Height() + 2.0f * static_cast<float>(gap);
            if (wide > key->Width()) key->Width(wide);
            if (high > key->Height()) key->Height(high);
            key->X(static_cast<float>(x));
            key->Y(0);
            x += static_cast<int>(key->Width() + static_cast<float>(gap));
        }
        row->Y(static_cast<float>(y));
        row->Handle = {0.5f, 0};
        row->Width(row->GetContentWidth());
        row->Height(row->GetContentHeight());
        y += static_cast<int>(rowPitch);
        rows.push_back(row);
    }
    Width(GetContentWidth());
    Height(GetContentHeight());
    for (const auto& row : rows) row->X(Width() * 0.5f);
}

std::shared_ptr<Keyboard::Display> Keyboard::MakeDisplay_(const std::shared_ptr<platform::Font>& font, int x, int y,
                                                          platform::Color color, int maxLength,
                                                          const std::string& hintKey, const std::string& prefsKey) {
    auto display = std::make_shared<Display>(maxLength, hintKey);
    display->Layer(Layer());
    display->Font(font);
    display->X(static_cast<float>(x));
    display->Y(static_cast<float>(y));
    display->Color = color;
    if (Prefs) {
        Prefs->Cursor = 0;
        display->Text(Prefs->ReadString(prefsKey, display->Text()));
        Prefs->Cursor = 0;
    }
    return display;
}

void Keyboard::AppendCharacter_(Display& display, const std::string& character) {
    if (display.Length() < display.MaxLength()) display.Text(display.Text() + character);
}

void Keyboard::Backspace_(Display& display) {
    std::string text = display.Text();
    // Drop the continuation bytes of the last character, then its first byte.
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) text.pop_back();
    if (!text.empty()) text.pop_back();
    display.Text(text);
}
