#include "kestrum-scenegraph/layergroup.h"

#include <algorithm>

#include "kestrum-framework/axissign.h"

namespace kestrum::scenegraph {

LayerGroup::~LayerGroup() {
    // Members kept alive elsewhere must not point at a group that is gone.
    for (auto& member : Members) {
        if (member->Group_ == this) member->Group_ = nullptr;
    }
}

std::shared_ptr<LayerGroup> LayerGroup::New(scenegraph::Layer* layer) {
    auto group = std::make_shared<LayerGroup>();
    group->Layer(layer);
    return group;
}

void LayerGroup::DrawMembers_(platform::Canvas& canvas) {
    for (int i = 0; i < Members.Length(); ++i) {
        LayerObjectPtr member = Members[i];
        if (member->Enabled() && member->Visible) member->Draw(canvas);
    }
}

std::shared_ptr<LayerObject> LayerGroup::GetObject(const std::string& name) {
    if (Name == name) return Self_();
    for (int i = 0; i < Members.Length(); ++i) {
        LayerObjectPtr member = Members[i];
        if (auto found = member->GetObject(name)) return found;
    }
    return nullptr;
}

void LayerGroup::Draw(platform::Canvas& canvas) {
    canvas.PushMatrix();
    canvas.Translate(X(), Y());
    canvas.Scale(Scale.x, Scale.y);
    canvas.Rotate(framework::RotationSign * Rotation);
    canvas.Translate(-Width() * Handle.x, -Height() * Handle.y);
    canvas.BlendMode(BlendMode);
    canvas.Color(Brightness(Color));
    DrawBackground(canvas);
    canvas.Translate(-ContentOrigin.x, -ContentOrigin.y);
    DrawMembers_(canvas);
    canvas.PopMatrix();
    if (Selected) DrawSelected_(canvas);
}

namespace {

// Extent of the enabled members along one axis, always including 0.
template <typename Left, typename Right>
float Extent(const ObjectList& members, Left left, Right right) {
    if (members.Empty()) return 0;
    int min = 0, max = 0;
    for (const auto& member : members) {
        if (!member->Enabled()) continue;
        const float l = left(*member);
        if (l < static_cast<float>(min)) min = TruncToInt(l);
    }
    for (const auto& member : members) {
        if (!member->Enabled()) continue;
        const float r = right(*member);
        if (r > static_cast<float>(max)) max = TruncToInt(r);
    }
    return static_cast<float>(max - min);
}

}  // namespace

float LayerGroup::GetContentWidth() const {
    return Extent(
        Members, [](const LayerObject& m) { return m.X() - m.Handle.x * m.Scale.x * m.Width(); },
        [](const LayerObject& m) { return m.Width() * m.Scale.x * (1 - m.Handle.x) + m.X(); });
}

float LayerGroup::GetContentHeight() const {
    return Extent(
        Members, [](const LayerObject& m) { return m.Y() - m.Handle.y * m.Scale.y * m.Height(); },
        [](const LayerObject& m) { return m.Height() * m.Scale.y * (1 - m.Handle.y) + m.Y(); });
}

}  // namespace kestrum::scenegraph
