// Zandrovia: the homing rocket of a launcher.
//
// Only a Launcher builds a rocket; it waits disabled on its pad, is lifted
// out by the launcher and then flies on its own (Flying) at RocketSpeed,
// turning RocketTurnRate radians per update toward the current ship (the
// middle of the view without one), wrapping around the left and right edges,
// trailing smoke, and exploding without points when it reaches the ground.
// A rocket that meets a ship destroys the ship and itself. Remove only
// disables it: it stays in its layer so that its launcher can send it again.
// A rocket counts for CountAttackers while it is enabled.
//
// Depends on ghostedsprite.h and the game's globals.
#pragma once

#include <memory>

#include "platform/types.h"
#include "zandrovia/ghostedsprite.h"

class Rocket : public GhostedSprite {
public:
    // Motion per update.
    platform::Vec2f Velocity{0, 0};
    // 1 while the rocket flies on its own, 0 on the pad and while climbing out.
    int Flying = 0;

    Rocket() = default;
    // A rocket in the layer and its task manager, worth RocketScore; a
    // collision writer. Its energy is set by each launch.
    static std::shared_ptr<Rocket> New(kestrum::scenegraph::Layer* layer);

    void InitFields();
    // Homing flight, only while Flying.
    void OnUpdate() override;
    // Flying = 0 and disabled; it stays in its layer.
    void Remove() override;
    // Explosion, trails, sound and points label.
    void OnOutro(const std::shared_ptr<kestrum::scenegraph::LayerObject>& other) override;

    // The turn toward a bearing, both in degrees: each below 1 counts as 360
    // minus its magnitude, and the larger number wins (not the shorter arc):
    // +1 to turn clockwise, -1 counter-clockwise, 0 for none.
    static int TurnDirection(float heading, float bearing);
};
