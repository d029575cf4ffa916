// GuiLabel: one text in one font, drawn by render state and frame with the
// handle point of the (scaled) text box on the label's position. A label
// without text or without a font draws nothing at all.
#pragma once

#include <memory>
#include <string>

#include "kestrum-framework/drawdata.h"
#include "kestrum-gui/guiobject.h"

namespace kestrum::gui {

class GuiLabel : public GuiObject {
public:
    GuiLabel() { InitFields(); }
    // Joins the group (or layer), then sets the font and the text.
    static std::shared_ptr<GuiLabel> New(const std::shared_ptr<GuiGroup>& group,
                                         const std::shared_ptr<platform::Font>& font, const std::string& text);
    static std::shared_ptr<GuiLabel> New(GuiLayer* layer, const std::shared_ptr<platform::Font>& font,
                                         const std::string& text);

    framework::TextSet Texts;

    void InitFields() { Texts = framework::TextSet(); }
    void Text(const std::string& value) { Texts.Text = value; }
    const std::string& Text() const { return Texts.Text; }
    void Font(const std::shared_ptr<platform::Font>& value) { Texts.Font = value; }
    const std::shared_ptr<platform::Font>& Font() const { return Texts.Font; }

    // The explicit size, else the text's width in the font and the font's height.
    void Width(float value) override { Texts.Width(value); }
    float Width() const override { return Texts.Width(); }
    void Height(float value) override { Texts.Height(value); }
    float Height() const override { return Texts.Height(); }
    void Draw(platform::Canvas& canvas) override;
};

}  // namespace kestrum::gui
