// Zandrovia: a rocket launcher standing on the ground.
//
// A launcher stands on a foot sprite and owns one homing Rocket. While its
// rocket is out of play it counts down (Timer), then opens its hatch, lifts
// the rocket 48 units out and lets it fly, and closes the hatch again; once
// the rocket is gone (destroyed, crashed or removed) the countdown runs and
// the same rocket is sent again. Destroying the launcher takes a rocket that
// is still climbing out with it; one already flying goes on alone. The foot
// stays in the layer for good.
//
// The level scripts build launchers with New at fixed ground points; they
// are not scheduled and do not count for CountAttackers. A launcher is a
// collision writer.
//
// Depends on ghostedsprite.h, rocket.h and the game's globals.
#pragma once

#include <memory>

#include "platform/types.h"
#include "zandrovia/ghostedsprite.h"
#include "zandrovia/rocket.h"

class Launcher : public GhostedSprite {
public:
    // Updates left before the next launch.
    double Timer = 0;
    // The launcher's rocket, in the same layer.
    std::shared_ptr<::Rocket> Rocket;
    // 0 waiting, 1 hatch opening, 2 rocket climbing out, 3 hatch closing.
    int State = 0;

    Launcher() = default;
    // A launcher in the layer and its task manager whose foot's bottom edge
    // rests on position (the ground point under it), with its rocket on the
    // pad; a score record of LauncherEnergy and LauncherScore, a collision
    // writer.
    static std::shared_ptr<Launcher> New(kestrum::scenegraph::Layer* layer, platform::Vec2i position);

    // A countdown of 120 to 480 updates.
    void InitFields();
    void OnUpdate() override;
    // Removes a rocket that is still climbing out too.
    void Remove() override;
    // Explosion, trails, a low sound and the points label.
    void OnOutro(const std::shared_ptr<kestrum::scenegraph::LayerObject>& other) override;
};
