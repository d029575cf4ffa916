// kestrum-gui: the widget toolkit.
//
// Widgets (GuiObject and its derived classes) are tasks that a GuiLayer owns,
// updates and draws once per frame; groups nest widgets, and one event state
// machine turns the left mouse button and the pointer into events, flags and
// hooks. A layout loader places named widgets from a key=value file and a
// built-in editor writes such files back. Depends on kestrum-framework and
// the platform layer.
//
// Ownership: widgets are std::shared_ptr; a layer holds its top-level widgets
// and a group its members. A widget's references to its group and layer do
// not own them, so a dialog that is taken off its layer is freed.
//
// This header holds the module globals; InitGuiModule() must run once at
// start-up, before any widget exists.
#pragma once

#include <memory>

#include "kestrum-framework/contentmanager.h"
#include "platform/types.h"

namespace kestrum::gui {

class GuiObject;
class GuiGroup;
class GuiLayer;
class GuiMenu;

// Render states: the column of a widget's draw records.
namespace GuiState {
constexpr int Normal = 0;
constexpr int Active = 1;
constexpr int Over = 2;
constexpr int Down = 3;
constexpr int Ghosted = 4;
}  // namespace GuiState

// The widget with the keyboard focus (shown in the active state). The
// globals do not own their widgets: a widget that is freed simply stops
// being focused or open.
extern std::weak_ptr<GuiObject> FocusedObject;
// The pop-up menu and the submenu currently open.
extern std::weak_ptr<GuiMenu> OpenMenu;
extern std::weak_ptr<GuiMenu> OpenSubMenu;
// The toolkit's own content cache, apart from the framework's shared one;
// the game loads its GUI fonts through it.
extern std::shared_ptr<framework::ContentManager> GuiContent;
// The tint multiplied into a layer's colour while a modal widget is up.
extern platform::Color ModalDimColor;

// The module's one-time initialiser; later calls return at once.
void InitGuiModule();

// Internal: true once the process has begun to exit (set by a handler that
// InitGuiModule registers), when the framework's lists may already be gone.
bool GuiModuleExiting_();

}  // namespace kestrum::gui
