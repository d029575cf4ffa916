#include "kestrum-scenegraph/camera.h"

#include <cmath>

#include "kestrum-framework/axissign.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scene.h"

namespace kestrum::scenegraph {

using platform::Vec2f;

std::shared_ptr<Camera> Camera::New(scenegraph::Scene* scene) {
    auto camera = std::make_shared<Camera>();
    camera->Scene(scene);
    return camera;
}

void Camera::Remove() {
    if (!Tattooed && Scene_ != nullptr) Scene(nullptr);
}

void Camera::Scene(scenegraph::Scene* scene) {
    auto self = shared_from_this();
    if (Scene_ != nullptr) RemoveEach(Scene_->Cameras, this);
    Scene_ = scene;
    if (scene != nullptr) scene->Cameras.Add(self);
}

platform::Window* Camera::View() const { return Scene_ != nullptr ? Scene_->View : nullptr; }

// --- Virtual resolution -----------------------------------------------------

void Camera::SetVirtualWidth(float width) {
    const platform::Window* view = View();
    if (view == nullptr || !(width > 0)) return;
    VirtualScale = static_cast<float>(view->Width()) / width;
    Scale = {VirtualScale, VirtualScale};
}

void Camera::SetVirtualHeight(float height) {
    const platform::Window* view = View();
    if (view == nullptr || !(height > 0)) return;
    VirtualScale = static_cast<float>(view->Height()) / height;
    Scale = {VirtualScale, VirtualScale};
}

void Camera::SetVirtualResolution(float width, float height) {
    const platform::Window* view = View();
    if (view == nullptr || !(width > 0) || !(height > 0)) return;
    const float w = static_cast<float>(view->Width());
    const float h = static_cast<float>(view->Height());
    const float s = h / w < height / width ? h / height : w / width;
    Scale = {s, s};
    // Measured with the virtual scale in force before the call.
    CenterOffset = {width * s * 0.5f - static_cast<float>(VirtualWidth()) * 0.5f,
                    height * s * 0.5f - static_cast<float>(VirtualHeight()) * 0.5f};
    VirtualScale = 1;
}

int Camera::VirtualWidth() const {
    const platform::Window* view = View();
    if (view == nullptr || VirtualScale == 0) return 0;
    return TruncToInt(static_cast<float>(view->Width()) / VirtualScale);
}

int Camera::VirtualHeight() const {
    const platform::Window* view = View();
    if (view == nullptr || VirtualScale == 0) return 0;
    return TruncToInt(static_cast<float>(view->Height()) / VirtualScale);
}

Vec2f Camera::VirtualResolution() const {
    const platform::Window* view = View();
    if (view == nullptr || VirtualScale == 0) return {};
    return {static_cast<float>(view->Width()) / VirtualScale, static_cast<float>(view->Height()) / VirtualScale};
}

platform::Recti Camera::Viewport() const {
    if (!Viewport_.AllZero()) return Viewport_;
    const platform::Window* view = View();
    return view != nullptr ? view->Frame() : platform::Recti{};
}

// --- Drawing ----------------------------------------------------------------

void Camera::Draw(platform::Canvas& canvas) {
    const platform::Recti savedViewport = canvas.Viewport();
    canvas.PushMatrix();
    if (!Viewport_.AllZero()) canvas.Viewport(Viewport_);
    if (!ClearColor.AllZero()) canvas.Clear(ClearColor);
    canvas.Translate(-CenterOffset.x, -CenterOffset.y);
    canvas.Scale(Scale.x, Scale.y);
    RotateAndZoom(canvas);
    canvas.PushMatrix();
    canvas.Translate(-Position.x, -Position.y);
    DrawBackground(canvas);
    canvas.PopMatrix();
    DrawLayers_(canvas);
    DrawOverlay(canvas);
    DrawForeground(canvas);
    canvas.PopMatrix();
    canvas.Viewport(savedViewport);
}

void Camera::RotateAndZoom(platform::Canvas& canvas) const {
    canvas.Translate(RotationPivot.x, RotationPivot.y);
    canvas.Rotate(framework::RotationSign * Rotation);
    canvas.Translate(-RotationPivot.x, -RotationPivot.y);
    canvas.Translate(ZoomPivot.x, ZoomPivot.y);
    canvas.Scale(Zoom, Zoom);
    canvas.Translate(-ZoomPivot.x, -ZoomPivot.y);
}

void Camera::ApplyViewport(platform::Canvas& canvas) {
    if (!Viewport_.AllZero()) canvas.Viewport(Viewport_);
    canvas.Scale(Scale.x, Scale.y);
}

void Camera::ApplyTransform(platform::Canvas& canvas) {
    canvas.Translate(-CenterOffset.x, -CenterOffset.y);
    RotateAndZoom(canvas);
    canvas.Translate(-Position.x, -Position.y);
}

void Camera::UpdateLayers_() {
    if (Scene_ == nullptr) return;
    for (int l = 0; l < Scene_->Layers.Length(); ++l) {
        std::shared_ptr<Layer> layer = Scene_->Layers[l];
        if (layer->Enabled) layer->UpdateObjects_(this);
    }
}

void Camera::DrawLayers_(platform::Canvas& canvas) {
    if (Scene_ == nullptr) return;
    for (int l = 0; l < Scene_->Layers.Length(); ++l) {
        std::shared_ptr<Layer> layer = Scene_->Layers[l];
        if (layer->Enabled && layer->Visible) layer->Draw_(canvas, this);
    }
}

// --- Window points ----------------------------------------------------------

bool Camera::PointInside(int x, int y) const {
    const platform::Recti v = Viewport();
    return v.min.x <= x && x <= v.max.x && v.min.y <= y && y <= v.max.y;
}

bool Camera::WindowToLayer_(const Layer* layer, Vec2f shifted, Vec2f& result) const {
    if (layer == nullptr || Zoom == 0 || Scale.x == 0 || Scale.y == 0) return false;
    const platform::Recti v = Viewport();
    const Vec2f a{shifted.x / Scale.x, shifted.y / Scale.y};
    const Vec2f b{a.x - static_cast<float>(v.min.x) / Scale.x, a.y - static_cast<float>(v.min.y) / Scale.y};
    const Vec2f d = b - RotationPivot;
    const float r = std::sqrt(d.x * d.x + d.y * d.y);
    const float theta = std::atan2(d.y, d.x) + framework::RotationSign * Rotation;
    const Vec2f e{RotationPivot.x + r * std::cos(theta), RotationPivot.y + r * std::sin(theta)};
    const Vec2f f = e / Zoom + ZoomPivot - ZoomPivot / Zoom;
    result = f + Vec2f{Position.x * layer->Parallax.x, Position.y * layer->Parallax.y} - layer->Offset;
    return true;
}

Vec2f Camera::GetMouseLocation(Layer* layer) const {
    const platform::Window* view = View();
    if (view == nullptr || layer == nullptr) return {};
    const platform::Vec2i mouse = view->MouseLocation();
    const Vec2f shifted{static_cast<float>(mouse.x + TruncToInt(CenterOffset.x)),
                        static_cast<float>(mouse.y + TruncToInt(CenterOffset.y))};
    Vec2f result;
    return WindowToLayer_(layer, shifted, result) ? result : Vec2f{};
}

}  // namespace kestrum::scenegraph
