#include "kestrum-gui/guilayer.h"

#include <algorithm>
#include <cmath>

#include "kestrum-gui/gui.h"

namespace kestrum::gui {

GuiLayer::GuiLayer(platform::Window* window) : window_(window) {}

GuiLayer::GuiLayer(platform::Vec2i windowSize) : size_(windowSize) {}

GuiLayer::~GuiLayer() {
    // Widgets that outlive the layer must not point back at it.
    for (const auto& object : Objects) {
        if (object->Layer_ == this) object->Layer_ = nullptr;
    }
}

int GuiLayer::WindowWidth() const { return window_ ? window_->Width() : size_.x; }

int GuiLayer::WindowHeight() const { return window_ ? window_->Height() : size_.y; }

platform::Vec2i GuiLayer::WindowMouse() const {
    return window_ ? window_->MouseLocation() : platform::Mouse().Location();
}

void GuiLayer::SetVirtualWidth(float width) {
    if (width <= 0) return;
    const float s = static_cast<float>(WindowWidth()) / width;
    VirtualScale = s;
    ScaleX = s;
    ScaleY = s;
}

void GuiLayer::SetVirtualHeight(float height) {
    if (height <= 0) return;
    const float s = static_cast<float>(WindowHeight()) / height;
    VirtualScale = s;
    ScaleX = s;
    ScaleY = s;
}

void GuiLayer::SetVirtualResolution(float width, float height) {
    if (width <= 0 || height <= 0) return;
    const float w = static_cast<float>(WindowWidth());
    const float h = static_cast<float>(WindowHeight());
    const float s = (w > 0 && h / w >= height / width) ? w / width : h / height;
    ScaleX = s;
    ScaleY = s;
    ViewOffset.x = width * s * 0.5f - static_cast<float>(VirtualWidth()) * 0.5f;
    ViewOffset.y = height * s * 0.5f - static_cast<float>(VirtualHeight()) * 0.5f;
    VirtualScale = 1;
}

int GuiLayer::VirtualWidth() const {
    return VirtualScale != 0 ? static_cast<int>(static_cast<float>(WindowWidth()) / VirtualScale) : 0;
}

int GuiLayer::VirtualHeight() const {
    return VirtualScale != 0 ? static_cast<int>(static_cast<float>(WindowHeight()) / VirtualScale) : 0;
}

platform::Vec2f GuiLayer::VirtualResolution() const {
    if (VirtualScale == 0) return {0, 0};
    return {static_cast<float>(WindowWidth()) / VirtualScale, static_cast<float>(WindowHeight()) / VirtualScale};
}

platform::Recti GuiLayer::Viewport() const {
    if (!viewport_.AllZero()) return viewport_;
    return {0, 0, WindowWidth(), WindowHeight()};
}

namespace {

// Steps 2 to 5 of the pointer mapping, from a point already moved by the view offset.
platform::Vec2f MapFromOffset(const GuiLayer& layer, platform::Vec2f p) {
    const float sx = layer.ScaleX != 0 ? layer.ScaleX : 1;
    const float sy = layer.ScaleY != 0 ? layer.ScaleY : 1;
    const platform::Recti viewport = layer.Viewport();
    p = {p.x / sx - static_cast<float>(viewport.min.x) / sx, p.y / sy - static_cast<float>(viewport.min.y) / sy};
    if (layer.Rotation != 0) {
        const platform::Vec2f d = p - layer.CameraPosition;
        const float angle = std::atan2(d.y, d.x) - layer.Rotation;
        const float distance = std::hypot(d.x, d.y);
        p = layer.CameraPosition + platform::Vec2f{std::cos(angle) * distance, std::sin(angle) * distance};
    }
    if (layer.Zoom != 1 && layer.Zoom != 0) {
        p = p / layer.Zoom + layer.ZoomPivot - layer.ZoomPivot / layer.Zoom;
    }
    return {p.x - layer.X, p.y - layer.Y};
}

}  // namespace

platform::Vec2f GuiLayer::MapPointer(platform::Vec2f windowPoint) const {
    return MapFromOffset(*this, windowPoint + ViewOffset);
}

platform::Vec2i GuiLayer::GetMouseLocation() const {
    const platform::Vec2i mouse = WindowMouse();
    const platform::Vec2f p{static_cast<float>(mouse.x + static_cast<int>(ViewOffset.x)),
                            static_cast<float>(mouse.y + static_cast<int>(ViewOffset.y))};
    const platform::Vec2f q = MapFromOffset(*this, p);
    return {static_cast<int>(q.x), static_cast<int>(q.y)};
}

bool GuiLayer::PointInViewport(int x, int y) const {
    const platform::Recti v = Viewport();
    return x >= v.min.x && x <= v.max.x && y >= v.min.y && y <= v.max.y;
}

bool GuiLayer::MouseHit(int button) const {
    return button >= 1 && button <= 3 && InputDevice.Hit[static_cast<std::size_t>(button)];
}

bool GuiLayer::MouseDown(int button) const {
    return button >= 1 && button <= 3 && InputDevice.Down[static_cast<std::size_t>(button)];
}

bool GuiLayer::MouseReleased(int button) const {
    return button >= 1 && button <= 3 && InputDevice.Released[static_cast<std::size_t>(button)];
}

void GuiLayer::Update() {
    if (!Active) return;
    InputDevice.Update();
    const std::int64_t frame = platform::Mouse().Frames();
    if (!lastFrame_ || frame > *lastFrame_ + 1) Resume_();
    lastFrame_ = frame;
    UpdateEvents_();

    if (std::shared_ptr<GuiObject> modal = Modal) {
        if (modal->Enabled()) modal->Update_();
        if (modal->Enabled()) modal->OnUpdate();
    } else {
        const std::vector<std::shared_ptr<GuiObject>> objects = Objects.Data();
        for (const auto& object : objects) {
            if (object->Enabled()) object->Update_();
            if (object->Enabled()) object->OnUpdate();
        }
    }

    if (EditorMode) {
        UpdateEditorSelection_();
    } else {
        UpdateDraggables_();
    }

    const platform::Vec2i mouse = GetMouseLocation();
    if (Dragged) {
        Dragged->X_ += static_cast<float>(mouse.x - LastMouse.x);
        Dragged->Y_ += static_cast<float>(mouse.y - LastMouse.y);
    }
    LastMouse = mouse;
}

void GuiLayer::UpdateDraggables_() {
    if (!Dragged) {
        if (Current && Current->Down && Current->Draggable) {
            Dragged = Current;
            // Brought to the top: drawn last and tried first.
            if (Dragged->Layer_) Dragged->Layer(Dragged->Layer_);
        }
    } else if (!Dragged->Down) {
        Dragged = nullptr;
    }
}

void GuiLayer::Draw(platform::Canvas& canvas) {
    if (!Active) return;
    const auto font = canvas.Font();
    canvas.PushMatrix();
    if (!viewport_.AllZero()) canvas.Viewport(viewport_);
    if (!ClearColor.AllZero()) canvas.Clear(ClearColor);
    canvas.Translate(-ViewOffset.x, -ViewOffset.y);
    canvas.Scale(ScaleX, ScaleY);
    canvas.Translate(X, Y);
    const bool lighting = !AmbientLight.AllZero();
    if (lighting) {
        canvas.AmbientLight(AmbientLight);
        canvas.BeginLighting();
    }

    const platform::Color saved = Color;
    const std::shared_ptr<GuiObject> modal = Modal;
    if (modal) Color = Color.AllZero() ? ModalDimColor : Color * ModalDimColor;
    const std::vector<std::shared_ptr<GuiObject>> objects = Objects.Data();
    for (const auto& object : objects) {
        if (object != modal && object->Enabled() && object->Visible) object->Draw(canvas);
    }
    Color = saved;
    if (modal && modal->Enabled() && modal->Visible) modal->Draw(canvas);

    if (lighting) canvas.EndLighting();
    canvas.PopMatrix();
    canvas.Font(font);
    if (EditorMode) DrawDebugEditor_(canvas);
}

void GuiLayer::SendKeyEvent(const platform::KeyEvent& event) {
    if (!KeyEvents) return;
    const std::vector<std::shared_ptr<GuiObject>> objects = Objects.Data();
    for (const auto& object : objects) {
        if (object->Enabled() && object->KeyEvents) object->SendKeyEvent_(event);
    }
    if (EditorMode) OnDebugEditorKeyEvents_(event);
}

std::shared_ptr<GuiObject> GuiLayer::GetObject(const std::string& name) {
    for (const auto& object : Objects) {
        if (auto found = object->GetObject(name)) return found;
    }
    return nullptr;
}

void GuiLayer::ZSort() {
    std::stable_sort(Objects.begin(), Objects.end(),
                     [](const std::shared_ptr<GuiObject>& a, const std::shared_ptr<GuiObject>& b) { return a->Z > b->Z; });
}

void GuiLayer::ApplyTransform(platform::Canvas& canvas) const {
    canvas.Translate(-ViewOffset.x, -ViewOffset.y);
    canvas.Scale(ScaleX, ScaleY);
    canvas.Translate(X, Y);
}

void GuiLayer::ApplyViewport(platform::Canvas& canvas) const {
    if (!viewport_.AllZero()) canvas.Viewport(viewport_);
    canvas.Scale(ScaleX, ScaleY);
}

void Update(const std::vector<GuiLayer*>& layers) {
    for (GuiLayer* layer : layers) {
        if (layer) layer->Update();
    }
}

void Draw(const std::vector<GuiLayer*>& layers, platform::Canvas& canvas) {
    for (GuiLayer* layer : layers) {
        if (layer) layer->Draw(canvas);
    }
}

void SendKeyEvent(const platform::KeyEvent& event, const std::vector<GuiLayer*>& layers) {
    for (GuiLayer* layer : layers) {
        if (layer) layer->SendKeyEvent(event);
    }
}

void Update(GuiLayer& layer) { layer.Update(); }

void Draw(GuiLayer& layer, platform::Canvas& canvas) { layer.Draw(canvas); }

void SendKeyEvent(const platform::KeyEvent& event, GuiLayer& layer) { layer.SendKeyEvent(event); }

}  // namespace kestrum::gui
