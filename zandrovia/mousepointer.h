// Zandrovia: the drawn mouse pointer.
//
// The system pointer is hidden for the whole game; this image in its own
// layer (MousePointerRoot, updated and drawn in every GUI mode, on top of
// everything) takes its place. While the task clock runs, a press of the
// left button hides it for the drag that steers a ship, and the release
// moves the system pointer back to where the drag began, so the pointer
// shows again where it was (a touchpad's tap is a drag of one frame). A
// release that ends no such drag moves nothing. While the clock is halted
// the pointer simply follows the mouse.
//
// Depends on kestrum-gui (GuiImage, GuiLayer), the task clock and the game's
// MouseReleased.
#pragma once

#include <memory>

#include "kestrum-gui/guiimage.h"
#include "platform/types.h"

class MousePointer : public kestrum::gui::GuiImage {
public:
    // Builds the pointer in MousePointerRoot: "mouse.png" around its centre, alpha 0.75.
    static std::shared_ptr<MousePointer> New();

    // Where, in window coordinates, the last drag began.
    platform::Vec2i PressLocation{0, 0};

    void OnUpdate() override;

private:
    // Takes the mouse's place in the layer.
    void Follow_();
};
