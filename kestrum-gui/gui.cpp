#include "kestrum-gui/gui.h"

#include <cstdlib>

#include "kestrum-framework/framework.h"

namespace kestrum::gui {

std::weak_ptr<GuiObject> FocusedObject;
std::weak_ptr<GuiMenu> OpenMenu;
std::weak_ptr<GuiMenu> OpenSubMenu;
std::shared_ptr<framework::ContentManager> GuiContent;
platform::Color ModalDimColor{0.5f, 0.5f, 0.5f, 1};

namespace {
bool moduleReady = false;
bool moduleExiting = false;
}  // namespace

bool GuiModuleExiting_() { return moduleExiting; }

void InitGuiModule() {
    if (moduleReady) return;
    moduleReady = true;
    framework::InitFrameworkModule();
    // Registered after the framework's statics exist, so it runs before they
    // are destroyed: widgets freed later leave the message list alone.
    std::atexit([] { moduleExiting = true; });
    GuiContent = std::make_shared<framework::ContentManager>();
    ModalDimColor = {0.5f, 0.5f, 0.5f, 1};
    FocusedObject.reset();
    OpenMenu.reset();
    OpenSubMenu.reset();
}

}  // namespace kestrum::gui
