// Image widgets, buttons and check boxes.
//
// GuiImage draws one image of its image set, chosen by render state (column)
// and frame (row); a state without an image of its own shows the normal
// state's image of the same frame, placed and tinted by the state's record.
// GuiButton adds a caption, centred on the widget unless told otherwise.
// GuiCheckbox steps its frame to the next row of its image set on every
// completed click (before OnReleased runs).
#pragma once

#include <memory>
#include <string>

#include "kestrum-framework/drawdata.h"
#include "kestrum-gui/guiobject.h"

namespace kestrum::gui {

class GuiImage : public GuiObject {
public:
    GuiImage() = default;
    // Joins the group (or layer) and makes image the normal state's image of frame 0.
    static std::shared_ptr<GuiImage> New(const std::shared_ptr<GuiGroup>& group,
                                         const std::shared_ptr<platform::Image>& image);
    static std::shared_ptr<GuiImage> New(GuiLayer* layer, const std::shared_ptr<platform::Image>& image);

    // The widget's pictures: column = render state, row = frame.
    framework::ImageSet Images;

    // The explicit size of the set, or its largest image.
    void Width(float value) override { Images.Width(value); }
    float Width() const override { return Images.Width(); }
    void Height(float value) override { Images.Height(value); }
    float Height() const override { return Images.Height(); }
    void Draw(platform::Canvas& canvas) override;

protected:
    // Draws the image part (no overlays); false when there was no image.
    bool DrawImage_(platform::Canvas& canvas);
};

class GuiButton : public GuiImage {
public:
    GuiButton() { InitFields(); }

    // The caption: text, font (the placeholder font at first), offset, size and records.
    framework::TextSet Caption;
    // Centred on the widget, else at the caption offset from the top-left corner.
    bool CentreCaption = true;

    void InitFields();
    void Text(const std::string& value) { Caption.Text = value; }
    const std::string& Text() const { return Caption.Text; }
    void Font(const std::shared_ptr<platform::Font>& value) { Caption.Font = value; }
    const std::shared_ptr<platform::Font>& Font() const { return Caption.Font; }

    void Draw(platform::Canvas& canvas) override;
};

class GuiCheckbox : public GuiImage {
protected:
    void OnReleased_() override;
};

}  // namespace kestrum::gui
