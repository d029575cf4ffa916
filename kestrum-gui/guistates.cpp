// The widget event state machine: the layer's event pass, the claim of the
// current object and one step of a widget's machine. Only the left mouse
// button drives it; the pointer position is read afresh for every test.
#include <vector>

#include "kestrum-framework/input.h"
#include "kestrum-framework/taskmanager.h"
#include "kestrum-gui/guigroup.h"
#include "kestrum-gui/guilayer.h"
#include "kestrum-gui/guiobject.h"

namespace kestrum::gui {

namespace {

bool PointerInside(GuiObject& widget) {
    GuiLayer* layer = widget.Layer();
    if (!layer) return false;
    return widget.PointInside(platform::Vec2f(layer->WindowMouse()));
}

// The widget and every ancestor group are enabled.
bool EnabledInTree(const GuiObject& widget) {
    if (!widget.Enabled()) return false;
    for (const auto& g : widget.Groups()) {
        if (!g->Enabled()) return false;
    }
    return true;
}

}  // namespace

void GuiLayer::UpdateEvents_() {
    std::shared_ptr<GuiObject> prev = Current;
    if (prev) {
        prev->Entered = false;
        prev->Hit = false;
        prev->Left = false;
        prev->Released = false;
        // A held press keeps its widget current, but only while the widget
        // is still on this layer and enabled and no other widget was made
        // modal: a widget taken away, disabled or shut out before the
        // release could never see it. Its press, and those of a group's
        // members, end here, or they would stay pressed and take their next
        // click's release for a click.
        const bool keep = prev->PressCaptured &&
                          (prev == Modal || (!Modal && prev->Layer() == this && EnabledInTree(*prev)));
        if (!keep) {
            prev->ReleasePress_();
            Current = nullptr;
        }
    }

    if (Modal) {
        Current = Modal;
        Modal->UpdateCurrentGuiObject_();
    } else {
        const std::vector<std::shared_ptr<GuiObject>> objects = Objects.Data();
        for (auto it = objects.rbegin(); it != objects.rend() && !Current; ++it) (*it)->UpdateCurrentGuiObject_();
    }

    if (!framework::TouchActive() && prev && prev != Current && prev->MouseOver) {
        prev->OnLeft();
        prev->SendMessage("Left");
        prev->Left = true;
        prev->MouseOver = false;
    }

    if (std::shared_ptr<GuiObject> current = Current) current->UpdateState_();
}

void GuiLayer::Resume_() {
    InputDevice.ForgetEarlierPresses();
    if (Current) Current->ReleasePress_();
}

void GuiObject::ReleasePress_() {
    PressCaptured = false;
    Down = false;
    if (auto* group = dynamic_cast<GuiGroup*>(this)) {
        for (const auto& member : group->Members) member->ReleasePress_();
    }
}

void GuiObject::UpdateCurrentGuiObject_() {
    if (framework::TasksPaused() && Pausable) return;
    GuiLayer* layer = Layer();
    if (!layer || layer->Current || !MouseEvents || !Enabled()) return;
    if (!framework::TouchActive() && PointerInside(*this)) layer->Current = Self();
    if (!layer->Current && MouseHit(1) && PointerInside(*this)) layer->Current = Self();
}

void GuiGroup::UpdateCurrentGuiObject_() {
    if (!MouseEvents || !Enabled() || !Visible) return;
    const std::vector<std::shared_ptr<GuiObject>> members = Members.Data();
    for (auto it = members.rbegin(); it != members.rend(); ++it) (*it)->UpdateCurrentGuiObject_();
    GuiObject::UpdateCurrentGuiObject_();
}

void GuiObject::UpdateState_() {
    if (!Layer()) return;
    // Hooks may drop the last other reference to this widget.
    auto self = Self();

    if (MouseHit(1) && !PressCaptured && !Down) {
        if (PointerInside(*this)) {
            OnHit();
            SendMessage("Hit");
            Hit = true;
        }
        Down = true;
        PressCaptured = true;
    }

    bool held = true;
    if (MouseReleased(1)) {
        if (PressCaptured) {
            if (PointerInside(*this)) {
                OnReleased_();
                OnReleased();
                SendMessage("Released");
                Released = true;
            }
            Down = false;
            PressCaptured = false;
        } else {
            held = false;
        }
    }

    if (held && PressCaptured) Down = PointerInside(*this) || DownOutside;

    if (!framework::TouchActive() && PointerInside(*this)) {
        if (!MouseOver) {
            OnEntered();
            SendMessage("Entered");
            Entered = true;
        }
        OnRollOver();
        MouseOver = true;
    }
}

void GuiGroup::UpdateState_() {
    const std::vector<std::shared_ptr<GuiObject>> members = Members.Data();
    for (const auto& member : members) member->UpdateState_();
    GuiObject::UpdateState_();
}

}  // namespace kestrum::gui
