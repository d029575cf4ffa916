#include "kestrum-gui/guimenu.h"

#include "kestrum-framework/gfx.h"
#include "kestrum-gui/gui.h"
#include "kestrum-gui/guilayer.h"

namespace kestrum::gui {

namespace {

// Disables an open menu, if there is one and it is enabled.
void Close(const std::shared_ptr<GuiMenu>& menu) {
    if (menu && menu->Enabled()) menu->Enabled(false);
}

// The first member of type T named name; null when none.
template <typename T>
std::shared_ptr<T> MemberNamed(const platform::Stack<std::shared_ptr<GuiObject>>& members, const std::string& name) {
    for (const auto& member : members) {
        auto found = std::dynamic_pointer_cast<T>(member);
        if (found && found->Name == name) return found;
    }
    return nullptr;
}

}  // namespace

void GuiMenu::Show(float x, float y) {
    if (auto open = OpenMenu.lock(); open && open.get() != this) Close(open);
    if (auto sub = OpenSubMenu.lock(); sub && sub.get() != this) Close(sub);
    OpenMenu = std::static_pointer_cast<GuiMenu>(Self());
    X(x);
    Y(y);
    Enabled(true);
}

std::shared_ptr<GuiMenuItem> GuiMenu::GetItem(const std::string& name) const {
    return MemberNamed<GuiMenuItem>(Members, name);
}

void GuiLayer::UpdateContextMenu_() {
    if (Current) return;
    Close(OpenMenu.lock());
    Close(OpenSubMenu.lock());
}

float GuiMenuBar::Width() const {
    GuiLayer* layer = Layer();
    return layer ? static_cast<float>(layer->Viewport().Width()) : 0;
}

float GuiMenuBar::Height() const { return Layer() ? Height_ : 0; }

void GuiMenuBar::DrawSurface_(platform::Canvas& canvas) {
    GuiLayer* layer = Layer();
    if (Frame < 0 || !layer) return;
    const int state = RenderState();
    std::shared_ptr<platform::Image> image = Surface.DrawData(0, 0)->Image;
    if (auto own = Surface.DrawData(state, 0)->Image) image = own;
    if (!image) return;
    canvas.PushMatrix();
    ApplyDrawData_(canvas, *Surface.DrawData(state, Frame));
    framework::Draw9Patch(canvas, image, Surface.Borders, Width_, 0,
                          static_cast<float>(layer->WindowWidth()) - Width_, Height(), 0, ScaleX, ScaleY, 0, 0);
    canvas.PopMatrix();
}

std::shared_ptr<GuiMenuTab> GuiMenuBar::GetTab(const std::string& name) const {
    return MemberNamed<GuiMenuTab>(Members, name);
}

void GuiMenuTab::OnRollOver() {
    auto open = OpenMenu.lock();
    if (!open || !open->Enabled() || !Menu || open == Menu) return;
    if (open->Group() != Group()) return;
    open->Enabled(false);
    OpenMenu.reset();
    if (auto sub = OpenSubMenu.lock()) {
        sub->Enabled(false);
        OpenSubMenu.reset();
    }
    OpenMenu = Menu;
    Menu->Enabled(true);
}

void GuiMenuTab::OnReleased() {
    if (auto open = OpenMenu.lock()) {
        open->Enabled(false);
        OpenMenu.reset();
    }
    if (auto sub = OpenSubMenu.lock()) {
        sub->Enabled(false);
        OpenSubMenu.reset();
    }
    if (Menu && !Menu->Enabled()) {
        OpenMenu = Menu;
        Menu->Enabled(true);
    }
}

void GuiMenuItem::OnReleased() {
    if (auto open = OpenMenu.lock(); open && !SubMenu) Close(open);
    if (auto sub = OpenSubMenu.lock()) Close(sub);
    if (SubMenu && !SubMenu->Enabled()) {
        OpenSubMenu = SubMenu;
        SubMenu->Enabled(true);
    }
}

}  // namespace kestrum::gui
