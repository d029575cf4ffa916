// Zandrovia: a short, decaying jolt of a camera.
//
// While a shake runs, every Update moves the camera to a random offset
// around where it stood when the shake began; the range of the offset
// shrinks by the decay factor per update, and once it falls below one unit
// the camera is put back exactly where it was. A Shake during a running
// shake changes nothing. The game shakes GameCamera when the current ship
// is lost (CameraShake in globals.h).
//
// Depends on kestrum-scenegraph (Camera) and the platform's random numbers.
#pragma once

#include <memory>

namespace kestrum::scenegraph {
class Camera;
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
    // One step of a running shake; nothing while none runs.
    void Update();
};
