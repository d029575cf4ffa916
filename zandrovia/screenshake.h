// Zandrovia: a short, decaying jolt of a camera.
//
// While a shake runs, every Update moves the camera to a random offset
// around where it stood when the shake began; the range of the offset
// shrinks by the decay factor per update, and once it falls below one unit
// the camera is put back exactly where it was. A Shake during a running
// shake changes nothing. The game shakes GameCamera when the current ship
// is lost (CameraShake in globals.h).
//
// The shake only moves the picture: the hand on the mouse does not move
// with it. The pointer is therefore read through the camera at rest for
// steering (a pointer held still reads still), and a click is tested
// against the frame on screen when it came, which the player aimed at.
//
// Depends on kestrum-scenegraph (Camera) and the platform's random numbers.
#pragma once

#include <memory>

#include "platform/types.h"

namespace kestrum::scenegraph {
class Camera;
class Layer;
class LayerObject;
}

class ScreenShake {
public:
    explicit ScreenShake(std::shared_ptr<kestrum::scenegraph::Camera> target);

    std::shared_ptr<kestrum::scenegraph::Camera> Target;
    // The camera's position when the running shake began.
    float OrigX = 0;
    float OrigY = 0;
    bool Active = false;
    float Decay = 0;
    // The current size of the offset range, in scene units.
    float Magnitude = 0;

    // Starts a shake of the magnitude and decay unless one is running.
    void Shake(int magnitude, float decay);
    // One step of a running shake; nothing while none runs. The game calls
    // it once per frame before the frame's update and drawing.
    void Update();

    // The camera's position without the shake's offset.
    platform::Vec2f RestPosition() const;
    // The pointer in the layer's space through the camera at rest.
    platform::Vec2f SteadyMouseLocation(kestrum::scenegraph::Layer* layer) const;
    // Whether the window point lies on the object as the frame on screen
    // showed it: the frame drawn before the last Update, which is what the
    // player sees while the next frame's input arrives.
    bool PointOnShownFrame(kestrum::scenegraph::LayerObject& object, platform::Vec2f point) const;

private:
    // Where the camera stood before the last Update.
    platform::Vec2f shown_{0, 0};
};
