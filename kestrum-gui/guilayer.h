// GuiLayer: the owner of top-level widgets (a plain object, not a widget).
//
// Once per frame Update polls the mouse buttons, picks one current object
// (the topmost widget under the pointer, the widget still holding a press,
// or the modal object) and runs its state machine, updates the widgets and
// drags a pressed draggable widget (with the layout editor on, any pressed
// widget). Draw draws the widgets in list order through the layer's
// transform, with optional clearing, lighting, tint and modal dimming.
//
// A layer that did not run in the frame before (new, made active again, or
// switched on by its owner) was not on screen: a press it finds held then
// began before its widgets showed and is no click on them, nor is one that
// a widget captured before the layer stopped running. Only a press that
// came since the last frame counts.
//
// The layer is laid out in virtual units and scaled to its window. It reads
// the window's size and the platform mouse; a layer made with a size instead
// of a window behaves as one on a window of that size.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kestrum-framework/input.h"
#include "kestrum-gui/guiobject.h"
#include "platform/app.h"
#include "platform/canvas.h"
#include "platform/input.h"
#include "platform/stack.h"
#include "platform/types.h"

namespace kestrum::gui {

class GuiLayer {
public:
    explicit GuiLayer(platform::Window* window);
    // A layer on a view of that size with no window of its own.
    explicit GuiLayer(platform::Vec2i windowSize);
    virtual ~GuiLayer();
    GuiLayer(const GuiLayer&) = delete;
    GuiLayer& operator=(const GuiLayer&) = delete;

    bool KeyEvents = true;
    // When not all zero, widgets are drawn inside the lighting pass with this ambient colour.
    platform::Color AmbientLight{0, 0, 0, 0};
    // When not all zero, Draw first clears the viewport to it.
    platform::Color ClearColor{0, 0, 0, 0};
    // Tint of the whole layer; (0, 0, 0, 0) means no tint.
    platform::Color Color{1, 1, 1, 1};
    bool EditorMode = false;
    // Update and Draw do nothing while false.
    bool Active = true;
    // Top-level widgets in drawing order (last = on top).
    platform::Stack<std::shared_ptr<GuiObject>> Objects;
    framework::input::InputDevice InputDevice;
    float X = 0;
    float Y = 0;
    std::string Name;
    // Centring offset set by SetVirtualResolution, in window units.
    platform::Vec2f ViewOffset{0, 0};
    // Rotation and zoom used by the pointer mapping only.
    float Rotation = 0;
    platform::Vec2f CameraPosition{0, 0};
    float ScaleX = 1;
    float ScaleY = 1;
    float Zoom = 1;
    platform::Vec2f ZoomPivot{0, 0};
    std::shared_ptr<GuiObject> Current;
    // When set, only this widget gets the pointer and updates, and the rest is dimmed.
    std::shared_ptr<GuiObject> Modal;
    float VirtualScale = 1;
    platform::Vec2i LastMouse{0, 0};
    // The widget being dragged, or with the editor on the widget held by a press.
    std::shared_ptr<GuiObject> Dragged;

    platform::Window* Window() const { return window_; }
    int WindowWidth() const;
    int WindowHeight() const;
    // The pointer in the window's coordinates.
    platform::Vec2i WindowMouse() const;

    void SetVirtualWidth(float width);
    void SetVirtualHeight(float height);
    // Fits the whole width × height area into the window, centred.
    void SetVirtualResolution(float width, float height);
    int VirtualWidth() const;
    int VirtualHeight() const;
    platform::Vec2f VirtualResolution() const;
    // The viewport, or the window's frame when none is set.
    platform::Recti Viewport() const;
    void Viewport(platform::Recti rect) { viewport_ = rect; }

    // A window position mapped into the layer's space, unrounded.
    platform::Vec2f MapPointer(platform::Vec2f windowPoint) const;
    // The mouse in the layer's space, truncated.
    platform::Vec2i GetMouseLocation() const;
    bool PointInViewport(int x, int y) const;
    bool PointInViewport(platform::Vec2i p) const { return PointInViewport(p.x, p.y); }
    bool MouseHit(int button) const;
    bool MouseDown(int button) const;
    bool MouseReleased(int button) const;

    void Update();
    void Draw(platform::Canvas& canvas);
    void SendKeyEvent(const platform::KeyEvent& event);
    // Widgets get the pointer only through Update.
    void SendMouseEvent(const platform::MouseEvent&) {}
    // The first widget of that name, searching groups depth-first.
    virtual std::shared_ptr<GuiObject> GetObject(const std::string& name);
    // Orders Objects from the greatest Z to the smallest, equal Z keeping their order.
    void ZSort();
    void ApplyTransform(platform::Canvas& canvas) const;
    void ApplyViewport(platform::Canvas& canvas) const;

    // Layout editor (guieditor.cpp).
    std::string Snapshot();

private:
    void UpdateEditorSelection_();
    void OnDebugEditorKeyEvents_(const platform::KeyEvent& event);
    void DrawDebugEditor_(platform::Canvas& canvas);
    // Closes the open menus when the pointer is over nothing (guimenu.cpp).
    void UpdateContextMenu_();

    // The event pass of Update (guistates.cpp).
    void UpdateEvents_();
    // Drops the presses from before a frame in which the layer did not run.
    void Resume_();
    void UpdateDraggables_();

    // The tests reach the menu pass through it.
    friend struct GuiLayerTestAccess;

    platform::Window* window_ = nullptr;
    platform::Vec2i size_{0, 0};
    platform::Recti viewport_;
    // The mouse's frame count at the last Update; none before the first.
    std::optional<std::int64_t> lastFrame_;
};

// Each layer in order; a null entry is skipped.
void Update(const std::vector<GuiLayer*>& layers);
void Draw(const std::vector<GuiLayer*>& layers, platform::Canvas& canvas);
void SendKeyEvent(const platform::KeyEvent& event, const std::vector<GuiLayer*>& layers);
void Update(GuiLayer& layer);
void Draw(GuiLayer& layer, platform::Canvas& canvas);
void SendKeyEvent(const platform::KeyEvent& event, GuiLayer& layer);

}  // namespace kestrum::gui
