// Menus: pop-up menus (GuiMenu), the menu bar with its tabs and the menu
// items that open submenus.
//
// At most one menu and one submenu are open at a time (the module globals
// OpenMenu and OpenSubMenu). Closing a menu only disables it: it stays in
// its layer or group, and the globals may keep naming it.
#pragma once

#include <memory>
#include <string>

#include "kestrum-gui/guigroup.h"
#include "kestrum-gui/guiimage.h"

namespace kestrum::gui {

class GuiMenuItem;
class GuiMenuTab;

class GuiMenu : public GuiGroup {
public:
    // Opens this menu at (x, y) and closes the others.
    void Show(float x, float y);
    // The first direct member that is a menu item of that name; null when none.
    std::shared_ptr<GuiMenuItem> GetItem(const std::string& name) const;
};

// A bar across the top of its layer: its width is the layer's viewport width
// and its picture starts at the stored width (used as a left inset).
class GuiMenuBar : public GuiGroup {
public:
    void Width(float value) override { Width_ = value; }
    float Width() const override;
    void Height(float value) override { Height_ = value; }
    float Height() const override;

    // The first member that is a menu tab of that name; null when none.
    std::shared_ptr<GuiMenuTab> GetTab(const std::string& name) const;

protected:
    void DrawSurface_(platform::Canvas& canvas) override;
};

class GuiMenuTab : public GuiButton {
public:
    std::shared_ptr<GuiMenu> Menu;

    // With a menu open, moving over another tab of the same bar switches to its menu.
    void OnRollOver() override;
    // A click always leaves this tab's menu open.
    void OnReleased() override;
};

class GuiMenuItem : public GuiButton {
public:
    std::shared_ptr<GuiMenu> SubMenu;

    // Without a submenu: closes the open menu and submenu; with one: opens it.
    void OnReleased() override;
};

}  // namespace kestrum::gui
