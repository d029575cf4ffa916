// Further widgets: a panel with a header picture and a title, a tabbed
// document group, a button that removes a target widget, a plain rectangle
// and a horizontal progress bar.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kestrum-framework/drawdata.h"
#include "kestrum-gui/guigroup.h"
#include "kestrum-gui/guiimage.h"

namespace kestrum::gui {

class GuiPanel : public GuiGroup {
public:
    // The header picture, drawn at the panel's top-left at its own size.
    framework::ImageSet Header;
    // The title text, drawn at the set's offset.
    framework::TextSet Title;

    void Draw(platform::Canvas& canvas) override;
};

// A group of documents with one tab button each: releasing a tab shows its
// document (enabled, on top) and hides the others. Row 0 of a tab's images
// shows the current tab, row 1 the others.
class GuiTabber : public GuiGroup {
public:
    class Tab : public GuiButton {};

    // One group per document, in tab order.
    std::vector<std::shared_ptr<GuiGroup>> Documents;
    // The tab of each document, same order and length.
    std::vector<std::shared_ptr<Tab>> Tabs;

    void SetDocument(int index);
    // The index of the first enabled document; -1 when none.
    int Document() const;
    // Null ("" for the name) for an index out of range.
    std::shared_ptr<GuiGroup> GetDocument(int index) const;
    std::string GetDocumentName(int index) const;
    std::vector<std::string> GetDocumentNames() const;

protected:
    void Update_() override;
};

class GuiGroup::Closer : public GuiButton {
public:
    // The widget the button removes; not owned, so a dialog holding its own
    // closer is freed once it is closed.
    std::weak_ptr<GuiObject> Target;

    void OnReleased() override;
};

class GuiRectangle : public GuiObject {
public:
    GuiRectangle() = default;
    GuiRectangle(int width, int height);
    static std::shared_ptr<GuiRectangle> New(const std::shared_ptr<GuiGroup>& group, int width, int height);
    static std::shared_ptr<GuiRectangle> New(const std::shared_ptr<GuiGroup>& group);
    static std::shared_ptr<GuiRectangle> New(GuiLayer* layer, int width, int height);
    static std::shared_ptr<GuiRectangle> New(GuiLayer* layer);

    // Outline thickness in pixels; 0 draws a filled rectangle.
    int BorderWidth = 1;

    void Draw(platform::Canvas& canvas) override;
};

// A horizontal bar: the track (Background, which gives the widget its size)
// and the bar picture cut off (or, as a nine-patch, stretched) at
// Value / Maximum of its width. A Maximum of 0 or less shows no bar.
class GuiHProgressBar : public GuiObject {
public:
    framework::ImageSet Bar;
    int Maximum = 0;
    framework::ImageSet Background;
    int Value = 0;

    // The width of the bar's fill for the current value, from 0 to the bar's width.
    float FillWidth() const;

    void Width(float value) override { Background.Width(value); }
    float Width() const override { return Background.Width(); }
    void Height(float value) override { Background.Height(value); }
    float Height() const override { return Background.Height(); }
    void Draw(platform::Canvas& canvas) override;
};

}  // namespace kestrum::gui
