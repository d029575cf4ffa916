#include "kestrum-gui/guigroup.h"

#include <vector>

#include "kestrum-framework/gfx.h"
#include "kestrum-gui/guilayer.h"

namespace kestrum::gui {

GuiGroup::GuiGroup() { InitFields(); }

std::shared_ptr<GuiGroup> GuiGroup::New(const std::shared_ptr<GuiGroup>& parent) {
    auto group = std::make_shared<GuiGroup>();
    group->Group(parent);
    return group;
}

std::shared_ptr<GuiGroup> GuiGroup::New(GuiLayer* layer) {
    auto group = std::make_shared<GuiGroup>();
    group->Layer(layer);
    return group;
}

void GuiGroup::InitFields() {
    ScrollX = 0;
    ScrollY = 0;
    Members.Clear();
    Surface = framework::ImageSet();
}

void GuiGroup::Enabled(bool flag) {
    Enabled_ = flag;
    if (flag) return;
    for (const auto& member : Members) {
        member->Entered = false;
        member->Hit = false;
        member->Left = false;
        member->MouseOver = false;
        member->Released = false;
    }
}

void GuiGroup::UpdateMembers_() {
    const std::vector<std::shared_ptr<GuiObject>> members = Members.Data();
    for (const auto& member : members) {
        if (member->Enabled()) member->Update_();
    }
    for (const auto& member : members) {
        if (member->Enabled()) member->OnUpdate();
    }
}

void GuiGroup::SendKeyEvent_(const platform::KeyEvent& event) {
    const std::vector<std::shared_ptr<GuiObject>> members = Members.Data();
    for (const auto& member : members) {
        if (member->Enabled() && member->KeyEvents) member->SendKeyEvent_(event);
    }
    OnKeyEvent(event);
}

std::shared_ptr<GuiObject> GuiGroup::GetObject(const std::string& name) {
    if (Name == name) return Self();
    for (const auto& member : Members) {
        if (auto found = member->GetObject(name)) return found;
    }
    return nullptr;
}

void GuiGroup::Draw(platform::Canvas& canvas) {
    DrawSurface_(canvas);
    DrawContent_(canvas);
    if (EditorSelected_()) DrawSelection_(canvas);
}

void GuiGroup::DrawSurface_(platform::Canvas& canvas) {
    const int state = RenderState();
    std::shared_ptr<platform::Image> image = Surface.DrawData(state, 0)->Image;
    if (!image) image = Surface.DrawData(0, 0)->Image;
    if (!image) return;
    canvas.PushMatrix();
    ApplyDrawData_(canvas, *Surface.DrawData(state, Frame));
    framework::Draw9Patch(canvas, image, Surface.Borders, 0, 0, Width(), Height(), 0, ScaleX, ScaleY, 0, 0);
    canvas.PopMatrix();
}

void GuiGroup::DrawContent_(platform::Canvas& canvas) {
    canvas.PushMatrix();
    canvas.Translate(X(), Y());
    canvas.Scale(ScaleX, ScaleY);
    canvas.Rotate(-Rotation);
    canvas.Translate(-Width() * Handle.x, -Height() * Handle.y);
    DrawBackground(canvas);
    canvas.Translate(-ScrollX, -ScrollY);
    DrawMembers_(canvas);
    canvas.PopMatrix();
}

void GuiGroup::DrawMembers_(platform::Canvas& canvas) {
    const std::vector<std::shared_ptr<GuiObject>> members = Members.Data();
    for (const auto& member : members) {
        if (member->Enabled() && member->Visible) member->Draw(canvas);
    }
}

namespace {

// The extent along one axis of the enabled members; fractions are dropped at each edge.
template <typename Near, typename Far>
float ContentExtent(const platform::Stack<std::shared_ptr<GuiObject>>& members, Near nearEdge, Far farEdge) {
    if (members.Empty()) return 0;
    int min = 0;
    int max = 0;
    for (const auto& m : members) {
        if (!m->Enabled()) continue;
        const float edge = nearEdge(*m);
        if (edge < static_cast<float>(min)) min = static_cast<int>(edge);
    }
    for (const auto& m : members) {
        if (!m->Enabled()) continue;
        const float edge = farEdge(*m);
        if (edge > static_cast<float>(max)) max = static_cast<int>(edge);
    }
    return static_cast<float>(max - min);
}

}  // namespace

float GuiGroup::GetContentWidth() const {
    return ContentExtent(
        Members, [](GuiObject& m) { return m.X() - m.ScaleX * m.Width() * m.Handle.x; },
        [](GuiObject& m) { return (1 - m.Handle.x) * m.Width() * m.ScaleX + m.X(); });
}

float GuiGroup::GetContentHeight() const {
    return ContentExtent(
        Members, [](GuiObject& m) { return m.Y() - m.ScaleY * m.Height() * m.Handle.y; },
        [](GuiObject& m) { return (1 - m.Handle.y) * m.Height() * m.ScaleY + m.Y(); });
}

std::shared_ptr<GuiGroup> CreateGroup(const std::shared_ptr<GuiGroup>& group,
                                      const std::shared_ptr<platform::Image>& image) {
    if (!group) return group;
    group->Width(image ? static_cast<float>(image->Width()) : 0);
    group->Height(image ? static_cast<float>(image->Height()) : 0);
    group->Surface.DrawData(0, 0)->Image = image;
    return group;
}

std::shared_ptr<GuiGroup> CreateGroup(const std::shared_ptr<platform::Image>& image) {
    return CreateGroup(std::make_shared<GuiGroup>(), image);
}

}  // namespace kestrum::gui
