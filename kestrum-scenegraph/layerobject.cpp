#include "kestrum-scenegraph/layerobject.h"

#include <cmath>
#include <string>

#include "kestrum-framework/axissign.h"
#include "kestrum-framework/debugtools.h"
#include "kestrum-framework/gfx.h"
#include "kestrum-framework/math.h"
#include "kestrum-scenegraph/camera.h"
#include "kestrum-scenegraph/collisionmonitor.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/layergroup.h"
#include "kestrum-scenegraph/scene.h"
#include "platform/input.h"

namespace kestrum::scenegraph {

using platform::Vec2f;

LayerObject::LayerObject() = default;

// --- Placement --------------------------------------------------------------

void LayerObject::__UpdateLocation() {
    if (__Layer == nullptr) return;
    ObjectList* cell = __Layer->__Expand(TruncToInt(__Location.x), TruncToInt(__Location.y));
    if (cell == __Cell) return;
    auto self = std::static_pointer_cast<LayerObject>(shared_from_this());
    if (__Cell != nullptr) RemoveEach(*__Cell, this);
    cell->Add(self);
    __Cell = cell;
}

void LayerObject::X(float x) {
    __Location.x = x;
    __UpdateLocation();
}

void LayerObject::Y(float y) {
    __Location.y = y;
    __UpdateLocation();
}

void LayerObject::Location(Vec2f location) {
    __Location = location;
    __UpdateLocation();
}

void LayerObject::Layer(scenegraph::Layer* layer) {
    // The cell or group may hold the last reference to this object. An
    // object that nothing owns cannot be filed: fail before changing anything.
    auto keep = layer != nullptr ? std::static_pointer_cast<LayerObject>(shared_from_this()) : __Self();
    if (__Layer != nullptr && __Cell != nullptr) {
        RemoveEach(*__Cell, this);
        __Cell = nullptr;
    }
    if (__Group != nullptr) Group(static_cast<LayerGroup*>(nullptr));
    __Layer = layer;
    __UpdateLocation();
}

scenegraph::Layer* LayerObject::Layer() const {
    if (__Group == nullptr) return __Layer;
    return RootGroup()->__Layer;
}

void LayerObject::Group(LayerGroup* group) {
    auto keep = group != nullptr ? std::static_pointer_cast<LayerObject>(shared_from_this()) : __Self();
    if (__Layer != nullptr) Layer(static_cast<scenegraph::Layer*>(nullptr));
    if (__Group != nullptr) RemoveEach(__Group->Members, this);
    __Group = group;
    if (group != nullptr) group->Members.Add(keep);
}

void LayerObject::Group(const std::shared_ptr<LayerGroup>& group) { Group(group.get()); }

std::vector<LayerGroup*> LayerObject::Groups() const {
    std::vector<LayerGroup*> groups;
    for (LayerGroup* g = __Group; g != nullptr; g = g->__Group) groups.push_back(g);
    return groups;
}

LayerGroup* LayerObject::RootGroup() const {
    LayerGroup* root = __Group;
    while (root != nullptr && root->__Group != nullptr) root = root->__Group;
    return root;
}

void LayerObject::Remove() {
    if (Tattooed) return;
    auto keep = __Self();
    if (TaskManager() != nullptr) TaskManager(nullptr);
    if (__Layer != nullptr) Layer(static_cast<scenegraph::Layer*>(nullptr));
    if (__Group != nullptr) Group(static_cast<LayerGroup*>(nullptr));
    if (__ReaderMonitor != nullptr) CollisionRead(false);
    if (__WriterMonitor != nullptr) CollisionWrite(false);
    Enabled(false);
}

void LayerObject::Discard() {
    if (Tattooed) return;
    LayerObject::Remove();
}

std::shared_ptr<LayerObject> LayerObject::GetObject(const std::string& name) {
    return Name == name ? __Self() : nullptr;
}

// --- Collisions -------------------------------------------------------------

void LayerObject::__Register(bool on, bool reader) {
    CollisionMonitor*& current = reader ? __ReaderMonitor : __WriterMonitor;
    if (!on) {
        if (current != nullptr) {
            auto keep = __Self();
            current->Leave_(this, reader);
            current = nullptr;
        }
        return;
    }
    if (__Layer == nullptr || __Layer->Scene() == nullptr) return;
    CollisionMonitor* monitor = __Layer->Scene()->CollisionMonitor.get();
    if (monitor == nullptr || monitor == current) return;
    auto self = std::static_pointer_cast<LayerObject>(shared_from_this());
    // A monitor that was replaced must not keep a stale entry.
    if (current != nullptr) current->Leave_(this, reader);
    (reader ? monitor->Readers : monitor->Writers).Add(self);
    current = monitor;
}

void LayerObject::CollisionWrite(bool on) { __Register(on, false); }
void LayerObject::CollisionRead(bool on) { __Register(on, true); }

void LayerObject::OnOutro(const std::shared_ptr<LayerObject>&) {}
void LayerObject::OnCollision(const std::shared_ptr<LayerObject>&) {}

bool LayerObject::CollisionMethod(const std::shared_ptr<LayerObject>& other) {
    if (!other) return false;
    return framework::RectsOverlap(X(), Y(), TruncToInt(Width() * Scale.x), TruncToInt(Height() * Scale.y),
                                   other->X(), other->Y(), TruncToInt(other->Width() * other->Scale.x),
                                   TruncToInt(other->Height() * other->Scale.y), true);
}

// --- World data -------------------------------------------------------------

void LayerObject::_UpdateWorldData() {
    __WorldLocation = {X(), Y()};
    __WorldRotation = Rotation;
    __WorldScale = Scale;
    __WorldWidth = Width() * Scale.x;
    __WorldHeight = Height() * Scale.y;
    for (LayerGroup* g = __Group; g != nullptr; g = g->__Group) {
        const Vec2f centre{g->X(), g->Y()};
        __WorldLocation -= g->ContentOrigin;
        __WorldRotation -= framework::RotationSign * g->Rotation;
        __WorldWidth *= g->Scale.x;
        __WorldHeight *= g->Scale.y;
        __WorldLocation = __WorldLocation * g->Scale;
        __WorldLocation.x += centre.x - g->Width() * g->Scale.x * g->Handle.x;
        __WorldLocation.y += centre.y - g->Height() * g->Scale.y * g->Handle.y;
        __WorldScale = __WorldScale * g->Scale;
        const float dx = __WorldLocation.x - centre.x;
        const float dy = __WorldLocation.y - centre.y;
        const float d = std::sqrt(dx * dx + dy * dy);
        const float angle = std::atan2(dy, dx) - framework::RotationSign * g->Rotation;
        __WorldLocation = {centre.x + d * std::cos(angle), centre.y + d * std::sin(angle)};
    }
}

float LayerObject::WorldX() {
    if (__Group == nullptr) return X();
    _UpdateWorldData();
    return __WorldLocation.x;
}

float LayerObject::WorldY() {
    if (__Group == nullptr) return Y();
    _UpdateWorldData();
    return __WorldLocation.y;
}

float LayerObject::WorldRotation() {
    if (__Group == nullptr) return Rotation;
    _UpdateWorldData();
    return __WorldRotation;
}

float LayerObject::WorldScaleX() {
    if (__Group == nullptr) return Scale.x;
    _UpdateWorldData();
    return __WorldScale.x;
}

float LayerObject::WorldScaleY() {
    if (__Group == nullptr) return Scale.y;
    _UpdateWorldData();
    return __WorldScale.y;
}

float LayerObject::WorldWidth() {
    if (__Group == nullptr) return Width() * Scale.x;
    _UpdateWorldData();
    return __WorldWidth;
}

float LayerObject::WorldHeight() {
    if (__Group == nullptr) return Height() * Scale.y;
    _UpdateWorldData();
    return __WorldHeight;
}

platform::Window* LayerObject::View() const {
    if (__Layer == nullptr || __Layer->Scene() == nullptr) return nullptr;
    return __Layer->Scene()->View;
}

platform::Color LayerObject::Brightness(platform::Color color) const {
    for (LayerGroup* g = __Group; g != nullptr; g = g->__Group) color = color * g->Color;
    const scenegraph::Layer* layer = __Group != nullptr ? Layer() : __Layer;
    if (layer != nullptr && !layer->Color.AllZero()) color = color * layer->Color;
    return color;
}

// --- Corners, point tests and the mouse -------------------------------------

namespace {

Vec2f Corner(const LayerObject& o, float sx, float sy) {
    const Vec2f position{o.X(), o.Y()};
    const Vec2f corner{position.x + sx * o.Width() * o.Handle.x, position.y + sy * o.Height() * o.Handle.y};
    return framework::RotatePoint(corner, position, o.Rotation);
}

}  // namespace

Vec2f LayerObject::TopLeft() const { return Corner(*this, -1, -1); }
Vec2f LayerObject::TopRight() const { return Corner(*this, 1, -1); }
Vec2f LayerObject::BottomLeft() const { return Corner(*this, -1, 1); }
Vec2f LayerObject::BottomRight() const { return Corner(*this, 1, 1); }

bool LayerObject::PointInside(Camera* camera, float x, float y) {
    const scenegraph::Layer* layer = Layer();
    if (camera == nullptr || layer == nullptr) return false;
    Vec2f q;
    if (!camera->__WindowToLayer(layer, Vec2f{x, y} + camera->CenterOffset, q)) return false;
    Vec2f position{X(), Y()};
    Vec2f size{Width() * Scale.x, Height() * Scale.y};
    float rotation = Rotation;
    if (__Group != nullptr) {
        _UpdateWorldData();
        position = __WorldLocation;
        size = {__WorldWidth, __WorldHeight};
        rotation = __WorldRotation;
    }
    return framework::PointInRotatedRect(position.x, position.y, size.x, size.y, q.x, q.y,
                                         framework::RotationSign * rotation, Handle.x, Handle.y);
}

Vec2f LayerObject::GetMouseLocation(Camera* camera) const {
    const scenegraph::Layer* layer = Layer();
    return layer != nullptr ? layer->GetMouseLocation(camera) : Vec2f{};
}

bool LayerObject::__MouseFlag(int which, int button) const {
    const scenegraph::Layer* layer = Layer();
    if (layer == nullptr) return false;
    switch (which) {
        case 0: return layer->MouseDown(button);
        case 1: return layer->MouseHit(button);
        default: return layer->MouseReleased(button);
    }
}

bool LayerObject::MouseDown(int button) const { return __MouseFlag(0, button); }
bool LayerObject::MouseHit(int button) const { return __MouseFlag(1, button); }
bool LayerObject::MouseReleased(int button) const { return __MouseFlag(2, button); }

bool LayerObject::MouseDown(Camera* camera, int button) {
    return MouseDown(button) && PointInside(camera, platform::Mouse().X(), platform::Mouse().Y());
}

bool LayerObject::MouseHit(Camera* camera, int button) {
    return MouseHit(button) && PointInside(camera, platform::Mouse().X(), platform::Mouse().Y());
}

bool LayerObject::MouseReleased(Camera* camera, int button) {
    return MouseReleased(button) && PointInside(camera, platform::Mouse().X(), platform::Mouse().Y());
}

bool LayerObject::MouseOver(Camera* camera) {
    return PointInside(camera, platform::Mouse().X(), platform::Mouse().Y());
}

// --- Debug overlays ---------------------------------------------------------

void LayerObject::Draw(platform::Canvas& canvas) {
    if (Flags != -1 || Properties) __DrawFlags(canvas);
    if (Selected) __DrawSelected(canvas);
}

void LayerObject::__DrawFlags(platform::Canvas& canvas) {
    const scenegraph::Layer* layer = Layer();
    if (layer != nullptr) {
        if (!layer->DrawFlags) return;
        if (layer->Scene() != nullptr && !layer->Scene()->DrawFlags) return;
    }
    canvas.BlendMode(platform::BlendMode::Alpha);
    std::string label;
    if (Flags != -1) {
        // Only 0..7 have a palette entry; other numbers keep the colour.
        if (Flags >= 0 && Flags < static_cast<int>(framework::DebugPalette.size())) {
            canvas.Color(framework::DebugPalette[static_cast<std::size_t>(Flags)]);
        }
        label = std::to_string(Flags);
    }
    if (Properties) {
        if (!label.empty()) label += "/";
        label += "P";
    }
    canvas.PushMatrix();
    canvas.Translate(X(), Y());
    framework::DrawRectOutline(canvas, -Width() * Handle.x, -Height() * Handle.y, TruncToInt(Width()),
                               TruncToInt(Height()), 3);
    canvas.DrawText(label, 0, 0, 0.5f, 0.5f);
    canvas.PopMatrix();
}

void LayerObject::__DrawSelected(platform::Canvas& canvas) {
    const int mode = framework::SelectionMode;
    if (mode == 0) return;
    const scenegraph::Layer* layer = Layer();
    if (layer != nullptr && !layer->DrawSelected) return;
    canvas.BlendMode(framework::SelectionBlend);
    canvas.Color(framework::SelectionColor);
    canvas.PushMatrix();
    canvas.Translate(X(), Y());
    canvas.Rotate(framework::RotationSign * Rotation);
    const float x = -Width() * Handle.x;
    const float y = -Height() * Handle.y;
    if (mode == 1) {
        canvas.DrawRect(x, y, Width(), Height());
    } else if (mode == 2) {
        framework::DrawRectOutline(canvas, x, y, TruncToInt(Width()), TruncToInt(Height()), 1);
    }
    canvas.PopMatrix();
}

// --- Copying ----------------------------------------------------------------

std::shared_ptr<LayerObject> CopyLayerObject(const std::shared_ptr<LayerObject>& source,
                                             const std::shared_ptr<LayerObject>& target) {
    if (!source || !target) return nullptr;
    framework::CopyTask(source, target);
    target->BlendMode = source->BlendMode;
    target->Color = source->Color;
    target->GlobalProperties = source->GlobalProperties;
    target->Handle = source->Handle;
    target->__Height = source->__Height;
    target->SourceConfig = source->SourceConfig;
    target->__Location = source->__Location;
    target->Rotation = source->Rotation;
    target->Scale = source->Scale;
    target->Selected = source->Selected;
    target->Tattooed = source->Tattooed;
    target->Visible = source->Visible;
    target->__Width = source->__Width;
    target->Z = source->Z;
    if (source->Properties) {
        if (!target->Properties) target->Properties = std::make_shared<framework::Config>();
        target->Properties->CopyData(source->Properties);
    }
    return target;
}

}  // namespace kestrum::scenegraph
