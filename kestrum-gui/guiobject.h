// GuiObject: the base of every widget.
//
// A widget is a task (name, enabled and pausable flags) that its GuiLayer
// updates and draws once per frame. It is either a top-level object of one
// layer or a member of one GuiGroup, never both. Its position, size, handle,
// scale and rotation place it in its parent's space; the hit test maps the
// pointer through the layer and every ancestor group.
//
// Hooks (OnHit, OnReleased, OnEntered, OnRollOver, OnLeft, OnKeyEvent) are
// called by the event state machine inside the layer's passes; they may add
// or remove widgets anywhere, including the widget itself, because every pass
// walks a snapshot of its list. Every event also sets a flag that callers may
// poll: Hit, Released and Entered last one frame, Left until the widget is
// current again.
//
// Widgets must be owned by a std::shared_ptr before they join a layer or a
// group (the constructors with a parent are the static New functions).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kestrum-framework/config.h"
#include "kestrum-framework/drawdata.h"
#include "kestrum-framework/taskmanager.h"
#include "kestrum-gui/gui.h"
#include "platform/canvas.h"
#include "platform/input.h"
#include "platform/types.h"

namespace kestrum::gui {

class GuiObject : public framework::Task {
public:
    GuiObject();
    ~GuiObject() override;

    // The widget receives key events from its layer or group.
    bool KeyEvents = true;
    // Blend mode of widgets that draw plain shapes.
    int BlendMode = platform::BlendMode::Alpha;
    // When set, a point counts as inside only if it is inside this object too.
    std::weak_ptr<GuiObject> ClipParent;
    // Tint; its alpha is Alpha().
    platform::Color Color{1, 1, 1, 1};
    // With Tattooed set, Remove disables the widget.
    bool DisableOnRemove = false;
    // The press that began on the widget is held and the pointer is over it (or DownOutside is set).
    bool Down = false;
    // Down stays set while the press is held outside the widget.
    bool DownOutside = false;
    // The layer drags the widget while it is pressed.
    bool Draggable = false;
    // Event flag: the pointer came over the widget.
    bool Entered = false;
    // Pivot of position, rotation and scale, as a fraction of the size.
    platform::Vec2f Handle{0.5f, 0.5f};
    // Event flag: a press began on the widget.
    bool Hit = false;
    // Row of the draw records; a check box keeps its state in it.
    int Frame = 0;
    // Drawn in the ghosted state; it still takes the pointer and gets every event.
    bool Ghosted = false;
    // Event flag: the pointer left the widget.
    bool Left = false;
    // The pointer is over the widget as far as the state machine knows.
    bool MouseOver = false;
    // Event flag: a press that began on the widget was released over it.
    bool Released = false;
    // The widget may become its layer's current object.
    bool MouseEvents = true;
    // Render states the widget may show; the active state is not allowed by default.
    std::vector<int> AllowedStates{GuiState::Normal, GuiState::Over, GuiState::Down, GuiState::Ghosted};
    // Radians about the handle; positive turns clockwise on the screen.
    float Rotation = 0;
    float ScaleX = 1;
    float ScaleY = 1;
    // The widget's draw overlays its debug rectangle.
    bool DebugBounds = false;
    // Remove leaves the widget where it is.
    bool Tattooed = false;
    // Drawn; a group that is not visible does not take the pointer either.
    bool Visible = true;
    // Layout depth, read by GuiLayer::ZSort only.
    float Z = 0;
    // A press began while the widget's state machine was running and is still held.
    bool PressCaptured = false;

    // Membership. Setting a layer takes the widget out of its group and the
    // other way round; the widget is appended to the new list.
    virtual void Layer(GuiLayer* layer);
    // The layer field, or that of the outermost ancestor group.
    virtual GuiLayer* Layer() const;
    void Group(const std::shared_ptr<GuiGroup>& group);
    std::shared_ptr<GuiGroup> Group() const { return Group_.lock(); }
    // As Group(group), inserting at index of the member list (0 = drawn first).
    void GroupInsert(const std::shared_ptr<GuiGroup>& group, int index);
    // The ancestor groups, the parent first.
    std::vector<std::shared_ptr<GuiGroup>> Groups() const;
    std::shared_ptr<GuiGroup> OutermostGroup() const;
    // Takes the widget off its layer and out of its group (a tattooed widget
    // stays, and is only disabled with DisableOnRemove).
    virtual void Remove();
    // This widget when its name equals name, else null.
    virtual std::shared_ptr<GuiObject> GetObject(const std::string& name);

    // Geometry; derived widgets measure their content in the getters.
    virtual void X(float value) { X_ = value; }
    virtual float X() const { return X_; }
    virtual void Y(float value) { Y_ = value; }
    virtual float Y() const { return Y_; }
    virtual void Width(float value) { Width_ = value; }
    virtual float Width() const { return Width_; }
    virtual void Height(float value) { Height_ = value; }
    virtual float Height() const { return Height_; }
    float HandleX() const { return Handle.x; }
    void HandleX(float value) { Handle.x = value; }
    float HandleY() const { return Handle.y; }
    void HandleY(float value) { Handle.y = value; }
    float Alpha() const { return Color.a; }
    void Alpha(float value) { Color.a = value; }
    float ScaledWidth() const { return Width() * ScaleX; }
    float ScaledHeight() const { return Height() * ScaleY; }

    // World data: the widget's own values when it is in no group, else the
    // values through every ancestor group (recomputed on each call).
    float WorldX();
    float WorldY();
    float WorldRotation();
    float WorldScaleX();
    float WorldScaleY();
    float WorldWidth();
    float WorldHeight();

    // Hit test of a position in the coordinates of the layer's window.
    virtual bool PointInside(platform::Vec2f point);
    virtual bool PointInside(float x, float y);

    bool RenderStateAllowed(int state) const;
    int RenderState() const;
    // True when any ancestor group is ghosted, else flag.
    bool IsGhosted(bool flag) const;
    // c times the colour of every ancestor group and of the layer.
    platform::Color Brightness(platform::Color c) const;

    // Pointer queries through the layer; false without one.
    bool PointerOver() const;
    bool MouseHit(int button) const;
    bool MouseDown(int button) const;
    bool MouseReleased(int button) const;

    // Posts "group|...|name=event" to the framework's message list.
    void SendMessage(const std::string& event);

    // Layout (guieditor.cpp).
    virtual std::string Snapshot();
    virtual void ApplyConfig(framework::Config& block);

    // Hooks, empty by default.
    virtual void OnRollOver() {}
    virtual void OnReleased() {}
    virtual void OnLeft() {}
    virtual void OnKeyEvent(const platform::KeyEvent&) {}
    virtual void OnHit() {}
    virtual void OnEntered() {}
    virtual void OnAction() {}

    virtual void Draw(platform::Canvas&) {}

    std::shared_ptr<GuiObject> Self() { return std::static_pointer_cast<GuiObject>(shared_from_this()); }

protected:
    // The event state machine (guistates.cpp).
    virtual void UpdateState_();
    virtual void UpdateCurrentGuiObject_();
    // Internal per-frame update; groups update their members.
    virtual void Update_() {}
    virtual void SendKeyEvent_(const platform::KeyEvent& event) { OnKeyEvent(event); }
    // Internal release hook, before OnReleased.
    virtual void OnReleased_() {}

    // Applies a draw record with this widget's place, scaled size, rotation,
    // handle and brightness, as every widget's Draw does before drawing.
    void ApplyDrawData_(platform::Canvas& canvas, const framework::DrawData& data) const;

    // Overlays that derived widgets draw last.
    void DrawDebugBounds_(platform::Canvas& canvas);
    void DrawSelection_(platform::Canvas& canvas);
    // Whether the layer's layout editor is on and this widget is its selection.
    bool EditorSelected_() const;
    // Both overlays as a widget's Draw ends.
    void DrawOverlays_(platform::Canvas& canvas);

    // The position of the pointer in the layer window's coordinates; (0, 0) without a layer.
    platform::Vec2i WindowMouse_() const;

    // The size the accessors read; derived widgets measure from it.
    float Width_ = 0;
    float Height_ = 0;

private:
    void UpdateWorldData_();

    // The position the accessors read; the layer moves dragged widgets.
    float X_ = 0;
    float Y_ = 0;

    // Membership: the own layer (null inside a group) and the parent group.
    GuiLayer* Layer_ = nullptr;
    std::weak_ptr<GuiGroup> Group_;

    // Ends the press the widget holds, and those of every member at any depth
    // when it is a group, without any event: for a widget that stops being
    // current or leaves its layer while a press is held, and so could never
    // see the release (guistates.cpp).
    void ReleasePress_();

    // The layer and the groups drive their widgets' event and update passes;
    // the layer also drags widgets and forgets those it held when it goes.
    friend class GuiLayer;
    friend class GuiGroup;
    // The tests reach the membership and the release hook through it.
    friend struct GuiObjectTestAccess;

    float worldHeight_ = 0;
    float worldX_ = 0;
    float worldY_ = 0;
    float worldRotation_ = 0;
    float worldScaleX_ = 1;
    float worldScaleY_ = 1;
    float worldWidth_ = 0;
};

}  // namespace kestrum::gui
