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

void LayerObject::UpdateLocation_() {
    if (Layer_ == nullptr) return;
    ObjectList* cell = Layer_->Expand_(TruncToInt(Location_.x), TruncToInt(Location_.y));
    if (cell == Cell_) return;
    auto self = std::static_pointer_cast<LayerObject>(shared_from_this());
    if (Cell_ != nullptr) RemoveEach(*Cell_, this);
    cell->Add(self);
    Cell_ = cell;
}

void LayerObject::X(float x) {
    Location_.x = x;
    UpdateLocation_();
}

void LayerObject::Y(float y) {
    Location_.y = y;
    UpdateLocation_();
}

void LayerObject::Location(Vec2f location) {
    Location_ = location;
    UpdateLocation_();
}

void LayerObject::Layer(scenegraph::Layer* layer) {
    // The cell or group may hold the last reference to this object. An
    // object that nothing owns cannot be filed: fail before changing anything.
    auto keep = layer != nullptr ? std::static_pointer_cast<LayerObject>(shared_from_this()) : Self_();
    if (Layer_ != nullptr && Cell_ != nullptr) {
        RemoveEach(*Cell_, this);
        Cell_ = nullptr;
    }
    if (Group_ != nullptr) Group(static_cast<LayerGroup*>(nullptr));
    Layer_ = layer;
    UpdateLocation_();
}

scenegraph::Layer* LayerObject::Layer() const {
    if (Group_ == nullptr) return Layer_;
    return RootGroup()->Layer_;
}

void LayerObject::Group(LayerGroup* group) {
    auto keep = group != nullptr ? std::static_pointer_cast<LayerObject>(shared_from_this()) : Self_();
    if (Layer_ != nullptr) Layer(static_cast<scenegraph::Layer*>(nullptr));
    if (Group_ != nullptr) RemoveEach(Group_->Members, this);
    Group_ = group;
    if (group != nullptr) group->Members.Add(keep);
}

void LayerObject::Group(const std::shared_ptr<LayerGroup>& group) { Group(group.get()); }

std::vector<LayerGroup*> LayerObject::Groups() const {
    std::vector<LayerGroup*> groups;
    for (LayerGroup* g = Group_; g != nullptr; g = g->Group_) groups.push_back(g);
    return groups;
}

LayerGroup* LayerObject::RootGroup() const {
    LayerGroup* root = Group_;
    while (root != nullptr && root->Group_ != nullptr) root = root->Group_;
    return root;
}

void LayerObject::Remove() {
    if (Tattooed) return;
    auto keep = Self_();
    if (TaskManager() != nullptr) TaskManager(nullptr);
    if (Layer_ != nullptr) Layer(static_cast<scenegraph::Layer*>(nullptr));
    if (Group_ != nullptr) Group(static_cast<LayerGroup*>(nullptr));
    if (ReaderMonitor_ != nullptr) CollisionRead(false);
    if (WriterMonitor_ != nullptr) CollisionWrite(false);
    Enabled(false);
}

void LayerObject::Discard() {
    if (Tattooed) return;
    LayerObject::Remove();
}

std::shared_ptr<LayerObject> LayerObject::GetObject(const std::string& name) {
    return Name == name ? Self_() : nullptr;
}

// --- Collisions -------------------------------------------------------------

void LayerObject::Register_(bool on, bool reader) {
    CollisionMonitor*& current = reader ? ReaderMonitor_ : WriterMonitor_;
    if (!on) {
        if (current != nullptr) {
            auto keep = Self_();
            current->Leave_(this, reader);
            current = nullptr;
        }
        return;
    }
    if (Layer_ == nullptr || Layer_->Scene() == nullptr) return;
    CollisionMonitor* monitor = Layer_->Scene()->CollisionMonitor.get();
    if (monitor == nullptr || monitor == current) return;
    auto self = std::static_pointer_cast<LayerObject>(shared_from_this());
    // A monitor that was replaced must not keep a stale entry.
    if (current != nullptr) current->Leave_(this, reader);
    (reader ? monitor->Readers : monitor->Writers).Add(self);
    current = monitor;
}

void LayerObject::CollisionWrite(bool on) { Register_(on, false); }
void LayerObject::CollisionRead(bool on) { Register_(on, true); }

void LayerObject::OnOutro(const std::shared_ptr<LayerObject>&) {}
void LayerObject::OnCollision(const std::shared_ptr<LayerObject>&) {}

bool LayerObject::CollisionMethod(const std::shared_ptr<LayerObject>& other) {
    if (!other) return false;
    return framework::RectsOverlap(X(), Y(), TruncToInt(Width() * Scale.x), TruncToInt(Height() * Scale.y),
                                   other->X(), other->Y(), TruncToInt(other->Width() * other->Scale.x),
                                   TruncToInt(other->Height() * other->Scale.y), true);
}

// --- World data -------------------------------------------------------------

void LayerObject::UpdateWorldData_() {
    WorldLocation_ = {X(), Y()};
    WorldRotation_ = Rotation;
    WorldScale_ = Scale;
    WorldWidth_ = Width() * Scale.x;
    WorldHeight_ = Height() * Scale.y;
    for (LayerGroup* g = Group_; g != nullptr; g = g->Group_) {
        const Vec2f centre{g->X(), g->Y()};
        WorldLocation_ -= g->ContentOrigin;
        WorldRotation_ -= framework::RotationSign * g->Rotation;
        WorldWidth_ *= g->Scale.x;
        WorldHeight_ *= g->Scale.y;
        WorldLocation_ = WorldLocation_ * g->Scale;
        WorldLocation_.x += centre.x - g->Width() * g->Scale.x * g->Handle.x;
        WorldLocation_.y += centre.y - g->Height() * g->Scale.y * g->Handle.y;
        WorldScale_ = WorldScale_ * g->Scale;
        const float dx = WorldLocation_.x - centre.x;
        const float dy = WorldLocation_.y - centre.y;
        const float d = std::sqrt(dx * dx + dy * dy);
        const float angle = std::atan2(dy, dx) - framework::RotationSign * g->Rotation;
        WorldLocation_ = {centre.x + d * std::cos(angle), centre.y + d * std::sin(angle)};
    }
}

float LayerObject::WorldX() {
    if (Group_ == nullptr) return X();
    UpdateWorldData_();
    return WorldLocation_.x;
}

float LayerObject::WorldY() {
    if (Group_ == nullptr) return Y();
    UpdateWorldData_();
    return WorldLocation_.y;
}

float LayerObject::WorldRotation() {
    if (Group_ == nullptr) return Rotation;
    UpdateWorldData_();
    return WorldRotation_;
}

float LayerObject::WorldScaleX() {
    if (Group_ == nullptr) return Scale.x;
    UpdateWorldData_();
    return WorldScale_.x;
}

float LayerObject::WorldScaleY() {
    if (Group_ == nullptr) return Scale.y;
    UpdateWorldData_();
    return WorldScale_.y;
}

float LayerObject::WorldWidth() {
    if (Group_ == nullptr) return Width() * Scale.x;
    UpdateWorldData_();
    return WorldWidth_;
}

float LayerObject::WorldHeight() {
    if (Group_ == nullptr) return Height() * Scale.y;
    UpdateWorldData_();
    return WorldHeight_;
}

platform::Window* LayerObject::View() const {
    if (Layer_ == nullptr || Layer_->Scene() == nullptr) return nullptr;
    return Layer_->Scene()->View;
}

platform::Color LayerObject::Brightness(platform::Color color) const {
    for (LayerGroup* g = Group_; g != nullptr; g = g->Group_) color = color * g->Color;
    const scenegraph::Layer* layer = Group_ != nullptr ? Layer() : Layer_;
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
    if (!camera->WindowToLayer_(layer, Vec2f{x, y} + camera->CenterOffset, q)) return false;
    Vec2f position{X(), Y()};
    Vec2f size{Width() * Scale.x, Height() * Scale.y};
    float rotation = Rotation;
    if (Group_ != nullptr) {
        UpdateWorldData_();
        position = WorldLocation_;
        size = {WorldWidth_, WorldHeight_};
        rotation = WorldRotation_;
    }
    return framework::PointInRotatedRect(position.x, position.y, size.x, size.y, q.x, q.y,
                                         framework::RotationSign * rotation, Handle.x, Handle.y);
}

Vec2f LayerObject::GetMouseLocation(Camera* camera) const {
    const scenegraph::Layer* layer = Layer();
    return layer != nullptr ? layer->GetMouseLocation(camera) : Vec2f{};
}

bool LayerObject::MouseFlag_(int which, int button) const {
    const scenegraph::Layer* layer = Layer();
    if (layer == nullptr) return false;
    switch (which) {
        case 0: return layer->MouseDown(button);
        case 1: return layer->MouseHit(button);
        default: return layer->MouseReleased(button);
    }
}

bool LayerObject::MouseDown(int button) const { return MouseFlag_(0, button); }
bool LayerObject::MouseHit(int button) const { return MouseFlag_(1, button); }
bool LayerObject::MouseReleased(int button) const { return MouseFlag_(2, button); }

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
    if (Flags != -1 || Properties) DrawFlags_(canvas);
    if (Selected) DrawSelected_(canvas);
}

void LayerObject::DrawFlags_(platform::Canvas& canvas) {
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

void LayerObject::DrawSelected_(platform::Canvas& canvas) {
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
    target->Height_ = source->Height_;
    target->SourceConfig = source->SourceConfig;
    target->Location_ = source->Location_;
    target->Rotation = source->Rotation;
    target->Scale = source->Scale;
    target->Selected = source->Selected;
    target->Tattooed = source->Tattooed;
    target->Visible = source->Visible;
    target->Width_ = source->Width_;
    target->Z = source->Z;
    if (source->Properties) {
        if (!target->Properties) target->Properties = std::make_shared<framework::Config>();
        target->Properties->CopyData(source->Properties);
    }
    return target;
}

}  // namespace kestrum::scenegraph
