// GuiGroup: a widget that holds member widgets.
//
// Members are placed in the group's content space: the group translates,
// scales and turns it about its handle, and shifts it by the content offset
// (ScrollX, ScrollY). A surface image, stretched as a nine-patch over the
// group's size, may be drawn behind the members. Groups nest; members are
// not clipped (only the scroll box clips).
//
// The group runs the state machines of all its members and then its own, so
// a modal group captures a press anywhere for every member. Disabling a group
// clears its direct members' event and hover flags.
#pragma once

#include <memory>

#include "kestrum-framework/drawdata.h"
#include "kestrum-gui/guiobject.h"
#include "platform/stack.h"

namespace kestrum::gui {

class GuiGroup : public GuiObject {
public:
    // A button that removes its Target when released (defined with the further widgets).
    class Closer;

    GuiGroup();
    static std::shared_ptr<GuiGroup> New(const std::shared_ptr<GuiGroup>& parent);
    static std::shared_ptr<GuiGroup> New(GuiLayer* layer);

    // Content offset: members are drawn and hit-tested shifted by minus this.
    float ScrollX = 0;
    float ScrollY = 0;
    // Members in drawing order (last = on top).
    platform::Stack<std::shared_ptr<GuiObject>> Members;
    // The group's own image by render state and frame.
    framework::ImageSet Surface;

    // The start values of the group's own fields.
    void InitFields();

    using GuiObject::Enabled;
    void Enabled(bool flag) override;
    bool Enabled() const override { return Enabled_; }

    std::string Snapshot() override;
    std::shared_ptr<GuiObject> GetObject(const std::string& name) override;
    void Draw(platform::Canvas& canvas) override;

    // Drawn after the group's transform and before the content offset and the members.
    virtual void DrawBackground(platform::Canvas&) {}

    // Extent of the enabled members, always including the origin.
    float GetContentWidth() const;
    float GetContentHeight() const;
    // Empties the member list; the former members are not told.
    void Clear() { Members.Clear(); }

protected:
    void UpdateState_() override;
    void UpdateCurrentGuiObject_() override;
    void Update_() override { UpdateMembers_(); }
    // Every enabled member's Update_, then every enabled member's OnUpdate.
    void UpdateMembers_();
    void SendKeyEvent_(const platform::KeyEvent& event) override;

    virtual void DrawSurface_(platform::Canvas& canvas);
    // The group's transform, DrawBackground, the content offset and the members.
    void DrawContent_(platform::Canvas& canvas);
    // Every enabled, visible member in order.
    void DrawMembers_(platform::Canvas& canvas);
};

// Sizes the group to the image and makes the image its surface; returns the group.
std::shared_ptr<GuiGroup> CreateGroup(const std::shared_ptr<GuiGroup>& group,
                                      const std::shared_ptr<platform::Image>& image);
std::shared_ptr<GuiGroup> CreateGroup(const std::shared_ptr<platform::Image>& image);

}  // namespace kestrum::gui
