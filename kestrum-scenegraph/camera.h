// Camera: a view of a scene. It maps layer space onto the window (a virtual
// resolution, a position, a rotation about a pivot, a zoom about a second
// pivot and an optional viewport), draws the layers through that mapping and
// maps window points back into a layer's space for mouse input and point
// tests. Each frame the scene asks every enabled camera to update the objects
// near its view and draws every enabled, visible camera.
//
// Cameras are shared: make them with Camera::New or std::make_shared before
// giving them a scene. A camera without a scene has no view: its virtual sizes are 0 and its
// mappings give (0, 0). A zoom or scale of 0 maps nothing and culls nothing.
#pragma once

#include <memory>
#include <string>

#include "platform/app.h"
#include "platform/canvas.h"
#include "platform/types.h"

namespace kestrum::scenegraph {

class Layer;
class Scene;

class Camera : public std::enable_shared_from_this<Camera> {
public:
    Camera() = default;
    virtual ~Camera() = default;
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    // A new camera appended to the scene's camera list.
    static std::shared_ptr<Camera> New(scenegraph::Scene* scene);

    // When not all zero, the viewport is cleared to it before drawing.
    platform::Color ClearColor{0, 0, 0, 0};
    bool Enabled = true;
    // Top-left of the view in layer space.
    platform::Vec2f Position{0, 0};
    std::string Name;
    // Letterbox offset in window pixels, set by SetVirtualResolution.
    platform::Vec2f CenterOffset{0, 0};
    float Rotation = 0;
    platform::Vec2f RotationPivot{0, 0};
    // Window pixels per virtual unit.
    platform::Vec2f Scale{1, 1};
    bool Tattooed = false;
    bool Visible = true;
    float Zoom = 1;
    platform::Vec2f ZoomPivot{0, 0};
    // View pixels per virtual unit, used by VirtualWidth and VirtualHeight.
    float VirtualScale = 1;

    virtual void Remove();
    // Hooks of Draw; empty in the base class.
    virtual void DrawOverlay(platform::Canvas&) {}
    virtual void DrawForeground(platform::Canvas&) {}
    virtual void DrawBackground(platform::Canvas&) {}

    float X() const { return Position.x; }
    void X(float x) { Position.x = x; }
    float Y() const { return Position.y; }
    void Y(float y) { Position.y = y; }
    float RotationPivotX() const { return RotationPivot.x; }
    void RotationPivotX(float x) { RotationPivot.x = x; }
    float RotationPivotY() const { return RotationPivot.y; }
    void RotationPivotY(float y) { RotationPivot.y = y; }
    float ScaleX() const { return Scale.x; }
    void ScaleX(float x) { Scale.x = x; }
    float ScaleY() const { return Scale.y; }
    void ScaleY(float y) { Scale.y = y; }
    float ZoomPivotX() const { return ZoomPivot.x; }
    void ZoomPivotX(float x) { ZoomPivot.x = x; }
    float ZoomPivotY() const { return ZoomPivot.y; }
    void ZoomPivotY(float y) { ZoomPivot.y = y; }

    // Fix one virtual dimension; the other follows the view's aspect. A size
    // of 0 or less, or a camera without a view, changes nothing.
    void SetVirtualWidth(float width);
    void SetVirtualHeight(float height);
    // Letterbox fit of width × height into the view, centred.
    void SetVirtualResolution(float width, float height);
    int VirtualWidth() const;
    int VirtualHeight() const;
    platform::Vec2f VirtualResolution() const;

    void Viewport(platform::Recti rect) { Viewport_ = rect; }
    // The stored viewport, or the view's frame when it is all zero.
    platform::Recti Viewport() const;

    // Leaves the old scene's list and joins the new one at the end.
    void Scene(scenegraph::Scene* scene);
    scenegraph::Scene* Scene() const { return Scene_; }
    platform::Window* View() const;

    void Draw(platform::Canvas& canvas);
    void ApplyViewport(platform::Canvas& canvas);
    void ApplyTransform(platform::Canvas& canvas);
    // Whether the window point lies in Viewport(), edges included.
    bool PointInside(int x, int y) const;
    bool PointInside(platform::Vec2i point) const { return PointInside(point.x, point.y); }
    // The view's mouse position taken into the layer's space.
    platform::Vec2f GetMouseLocation(Layer* layer) const;

private:
    // A window point (already offset by CenterOffset) taken into the layer's
    // space; false when the camera cannot map (no layer, zoom or scale 0).
    bool WindowToLayer_(const Layer* layer, platform::Vec2f shifted, platform::Vec2f& result) const;
    void UpdateLayers_();
    void DrawLayers_(platform::Canvas& canvas);
    // Rotation about RotationPivot, then zoom about ZoomPivot.
    void RotateAndZoom(platform::Canvas& canvas) const;

    scenegraph::Scene* Scene_ = nullptr;
    platform::Recti Viewport_;

    // Layers and objects map the mouse through the camera.
    friend class scenegraph::Scene;
    friend class Layer;
    friend class LayerObject;
};

}  // namespace kestrum::scenegraph
