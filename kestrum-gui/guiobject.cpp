#include "kestrum-gui/guiobject.h"

#include <algorithm>
#include <cmath>

#include "kestrum-framework/debugtools.h"
#include "kestrum-framework/gfx.h"
#include "kestrum-framework/math.h"
#include "kestrum-framework/message.h"
#include "kestrum-gui/guigroup.h"
#include "kestrum-gui/guilayer.h"

namespace kestrum::gui {

namespace {

// The events a widget posts; used to take its messages out of the list when it dies.
const char* const kEvents[] = {"Hit", "Released", "Entered", "Left"};

}  // namespace

GuiObject::GuiObject() = default;

GuiObject::~GuiObject() {
    // The message list does not own its senders, but a dead widget's
    // messages would only pile up: take them out.
    if (GuiModuleExiting_()) return;
    for (const char* event : kEvents) {
        while (framework::Message::Get(std::string("=") + event, this)) {
        }
    }
}

void GuiObject::Layer(GuiLayer* layer) {
    auto self = Self();
    if (!Group_.expired()) Group(nullptr);
    if (Layer_) Layer_->Objects.RemoveEach(self);
    Layer_ = layer;
    if (layer) layer->Objects.Add(self);
}

GuiLayer* GuiObject::Layer() const {
    auto group = Group_.lock();
    if (!group) return Layer_;
    while (auto parent = group->Group()) group = parent;
    return group->Layer_;
}

void GuiObject::Group(const std::shared_ptr<GuiGroup>& group) {
    GroupInsert(group, -1);
}

void GuiObject::GroupInsert(const std::shared_ptr<GuiGroup>& group, int index) {
    auto self = Self();
    if (Layer_) Layer(nullptr);
    if (auto old = Group_.lock()) old->Members.RemoveEach(self);
    Group_ = group;
    if (!group) return;
    if (index < 0 || index > group->Members.Length()) {
        group->Members.Add(self);
    } else {
        group->Members.Insert(index, self);
    }
}

std::vector<std::shared_ptr<GuiGroup>> GuiObject::Groups() const {
    std::vector<std::shared_ptr<GuiGroup>> groups;
    for (auto group = Group_.lock(); group; group = group->Group()) groups.push_back(group);
    return groups;
}

std::shared_ptr<GuiGroup> GuiObject::OutermostGroup() const {
    auto groups = Groups();
    return groups.empty() ? nullptr : groups.back();
}

void GuiObject::Remove() {
    if (Tattooed) {
        if (DisableOnRemove) Enabled(false);
        return;
    }
    auto self = Self();
    ReleasePress_();
    if (Layer_) {
        if (Layer_->Current == self) Layer_->Current = nullptr;
        Layer(nullptr);
    }
    if (!Group_.expired()) Group(nullptr);
}

std::shared_ptr<GuiObject> GuiObject::GetObject(const std::string& name) {
    return Name == name ? Self() : nullptr;
}

void GuiObject::UpdateWorldData_() {
    worldX_ = X();
    worldY_ = Y();
    worldRotation_ = Rotation;
    worldScaleX_ = ScaleX;
    worldScaleY_ = ScaleY;
    worldWidth_ = Width() * ScaleX;
    worldHeight_ = Height() * ScaleY;
    for (const auto& g : Groups()) {
        worldRotation_ += g->Rotation;
        worldWidth_ *= g->ScaleX;
        worldHeight_ *= g->ScaleY;
        float x = (worldX_ - g->ScrollX) * g->ScaleX;
        float y = (worldY_ - g->ScrollY) * g->ScaleY;
        x -= g->Width() * g->ScaleX * g->HandleX();
        y -= g->Height() * g->ScaleY * g->HandleY();
        const float gx = g->X();
        const float gy = g->Y();
        x += gx;
        y += gy;
        worldScaleX_ *= g->ScaleX;
        worldScaleY_ *= g->ScaleY;
        if (g->Rotation == 0) {
            worldX_ = x;
            worldY_ = y;
        } else {
            const float angle = std::atan2(y - gy, x - gx) + g->Rotation;
            const float distance = std::hypot(x - gx, y - gy);
            worldX_ = gx + std::cos(angle) * distance;
            worldY_ = gy + std::sin(angle) * distance;
        }
    }
}

float GuiObject::WorldX() {
    UpdateWorldData_();
    return worldX_;
}
float GuiObject::WorldY() {
    UpdateWorldData_();
    return worldY_;
}
float GuiObject::WorldRotation() {
    UpdateWorldData_();
    return worldRotation_;
}
float GuiObject::WorldScaleX() {
    UpdateWorldData_();
    return worldScaleX_;
}
float GuiObject::WorldScaleY() {
    UpdateWorldData_();
    return worldScaleY_;
}
float GuiObject::WorldWidth() {
    UpdateWorldData_();
    return worldWidth_;
}
float GuiObject::WorldHeight() {
    UpdateWorldData_();
    return worldHeight_;
}

bool GuiObject::PointInside(platform::Vec2f point) { return PointInside(point.x, point.y); }

bool GuiObject::PointInside(float x, float y) {
    GuiLayer* layer = Layer();
    if (!layer) return false;
    if (auto clip = ClipParent.lock(); clip && clip.get() != this && !clip->PointInside(x, y)) return false;
    const platform::Vec2f q = layer->MapPointer({x, y});
    UpdateWorldData_();
    return framework::PointInRotatedRect(worldX_, worldY_, worldWidth_, worldHeight_, q.x, q.y, -worldRotation_,
                                         Handle.x, Handle.y);
}

bool GuiObject::RenderStateAllowed(int state) const {
    return std::find(AllowedStates.begin(), AllowedStates.end(), state) != AllowedStates.end();
}

bool GuiObject::IsGhosted(bool flag) const {
    for (const auto& g : Groups()) {
        if (g->Ghosted) return true;
    }
    return flag;
}

int GuiObject::RenderState() const {
    const bool focused = FocusedObject.lock().get() == this;
    if (IsGhosted(Ghosted)) return RenderStateAllowed(GuiState::Ghosted) ? GuiState::Ghosted : GuiState::Normal;
    if (Down) {
        if (RenderStateAllowed(GuiState::Down)) return GuiState::Down;
        if (focused && RenderStateAllowed(GuiState::Active)) return GuiState::Active;
        return GuiState::Normal;
    }
    if (MouseOver && RenderStateAllowed(GuiState::Over)) return GuiState::Over;
    if (focused && RenderStateAllowed(GuiState::Active)) return GuiState::Active;
    return GuiState::Normal;
}

platform::Color GuiObject::Brightness(platform::Color c) const {
    for (const auto& g : Groups()) c = c * g->Color;
    if (GuiLayer* layer = Layer(); layer && !layer->Color.AllZero()) c = c * layer->Color;
    return c;
}

bool GuiObject::PointerOver() const {
    GuiLayer* layer = Layer();
    if (!layer) return false;
    const platform::Vec2i mouse = layer->WindowMouse();
    return const_cast<GuiObject*>(this)->PointInside(platform::Vec2f(mouse));
}

bool GuiObject::MouseHit(int button) const {
    GuiLayer* layer = Layer();
    return layer && layer->MouseHit(button);
}

bool GuiObject::MouseDown(int button) const {
    GuiLayer* layer = Layer();
    return layer && layer->MouseDown(button);
}

bool GuiObject::MouseReleased(int button) const {
    GuiLayer* layer = Layer();
    return layer && layer->MouseReleased(button);
}

platform::Vec2i GuiObject::WindowMouse_() const {
    GuiLayer* layer = Layer();
    return layer ? layer->WindowMouse() : platform::Vec2i{0, 0};
}

void GuiObject::SendMessage(const std::string& event) {
    if (Name.empty() || event.empty()) return;
    std::string text;
    auto groups = Groups();
    for (auto it = groups.rbegin(); it != groups.rend(); ++it) {
        if (!(*it)->Name.empty()) text += (*it)->Name + "|";
    }
    text += Name + "=" + event;
    if (framework::Message::Contains(text, this)) return;
    // One pending message per widget and event: an older one posted under
    // another name or path makes way, so the list stays bounded.
    while (framework::Message::Get("=" + event, this)) {
    }
    framework::Message::Create(text, this);
}

bool GuiObject::EditorSelected_() const {
    GuiLayer* layer = Layer();
    return layer && layer->EditorMode && layer->Dragged.get() == this;
}

void GuiObject::DrawDebugBounds_(platform::Canvas& canvas) {
    if (!DebugBounds || framework::SelectionMode == 0) return;
    const float w = Width();
    const float h = Height();
    canvas.PushMatrix();
    canvas.Translate(X(), Y());
    canvas.Rotate(-Rotation);
    canvas.BlendMode(framework::SelectionBlend);
    canvas.Color(framework::SelectionColor);
    if (framework::SelectionMode == 1) {
        canvas.DrawRect(-w * Handle.x, -h * Handle.y, w * ScaleX, h * ScaleY);
    } else if (framework::SelectionMode == 2) {
        framework::DrawRectOutline(canvas, -w * Handle.x, -h * Handle.y, static_cast<int>(w * ScaleX),
                                   static_cast<int>(h * ScaleY), 1);
    }
    canvas.PopMatrix();
}

void GuiObject::DrawSelection_(platform::Canvas& canvas) {
    const float w = Width();
    const float h = Height();
    canvas.PushMatrix();
    canvas.Translate(X(), Y());
    canvas.Rotate(-Rotation);
    canvas.BlendMode(framework::GuiSelectionBlend);
    canvas.Color(framework::GuiSelectionColor);
    framework::DrawRectOutline(canvas, -w * Handle.x, -h * Handle.y, static_cast<int>(w), static_cast<int>(h), -2);
    canvas.PopMatrix();
}

void GuiObject::ApplyDrawData_(platform::Canvas& canvas, const framework::DrawData& data) const {
    data.Apply(canvas, X(), Y(), Width() * ScaleX, Height() * ScaleY, -Rotation, Handle.x, Handle.y,
               Brightness(Color));
}

void GuiObject::DrawOverlays_(platform::Canvas& canvas) {
    DrawDebugBounds_(canvas);
    if (EditorSelected_()) DrawSelection_(canvas);
}

}  // namespace kestrum::gui
