// Zandrovia: the drawn mouse pointer.
#include "zandrovia/mousepointer.h"

#include "kestrum-framework/contentmanager.h"
#include "kestrum-framework/taskmanager.h"
#include "kestrum-gui/guilayer.h"
#include "platform/input.h"
#include "zandrovia/globals.h"

std::shared_ptr<MousePointer> MousePointer::New() {
    auto pointer = std::make_shared<MousePointer>();
    pointer->Layer(MousePointerRoot.get());
    pointer->Images.DrawData(kestrum::gui::GuiState::Normal, 0)->Image =
        kestrum::framework::Content->GetImage("mouse.png");
    pointer->Alpha(0.75f);
    return pointer;
}

void MousePointer::Follow_() {
    if (const kestrum::gui::GuiLayer* layer = Layer()) {
        const platform::Vec2i mouse = layer->GetMouseLocation();
        X(static_cast<float>(mouse.x));
        Y(static_cast<float>(mouse.y));
    }
}

void MousePointer::OnUpdate() {
    const kestrum::gui::GuiLayer* layer = Layer();
    if (!layer) return;
    if (kestrum::framework::TasksHalted()) {
        Follow_();
        Visible = true;
        return;
    }
    if (Visible) {
        if (layer->MouseDown(1)) {
            PressLocation = layer->WindowMouse();
            Visible = false;
        } else {
            Follow_();
        }
    }
    // Only a drag of our own moves the system pointer back.
    if (::MouseReleased && !Visible) {
        platform::Mouse().Location(PressLocation);
        Visible = true;
    }
}
