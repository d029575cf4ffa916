// Zandrovia: a tank, the ground enemy that drops the pick-ups.
//
// A tank is a group of a wheel sprite, a turret sprite and a muzzle flash. It
// drives back and forth along the ground in random bursts of speed, wraps
// around the left and right edges, turns its turret toward the current ship
// (the middle of the view without one) while that lies above the turret,
// and fires shells from TankBulletPool while play is on. A destroyed tank
// drops the level's next pick-up (LevelPickups, counted by TanksDestroyed).
//
// The members are centred in the group: the wheels on the tank's centre, the
// turret 8 units below it, so the drawn tank covers its collision box and
// the muzzle offsets (TurretMuzzleOffsets, from the tank's centre) land on
// the drawn gun, where the shells and the spark start.
//
// A level script builds a tank with New, places it (X, Y) and hands it to
// GameScheduler. Tanks are collision writers and count for CountAttackers.
//
// Depends on kestrum-scenegraph (LayerGroup), ghostedsprite.h, spark.h and
// the game's globals.
#pragma once

#include <memory>

#include "kestrum-scenegraph/layergroup.h"
#include "zandrovia/ghostedsprite.h"
#include "zandrovia/spark.h"

class Tank : public kestrum::scenegraph::LayerGroup {
public:
    // Updates left before the next shell (not rounded).
    double FireCountdown = 0;
    // The muzzle flash, a member of the group.
    std::shared_ptr<::Spark> Spark;
    // Members of the group; the turret's Frame is its aim.
    std::shared_ptr<GhostedSprite> Turret;
    std::shared_ptr<GhostedSprite> Wheels;
    // Horizontal motion per update.
    float Speed = 0;
    // 0: a new drive is chosen in this update; 1: driving.
    int DriveState = 0;
    // Updates left of the current drive.
    int DriveTimer = 0;
    // X offset of the next smoke puff; its sign flips after every puff.
    int DustSide = 26;

    Tank() = default;
    // A tank in the layer and its task manager: turret and wheels scaled by
    // TankScale, the size of the wheels, a score record of TankEnergy and
    // TankScore, a collision writer. It is not placed.
    static std::shared_ptr<Tank> New(kestrum::scenegraph::Layer* layer);

    // The field defaults: a countdown of 60 to 120 updates, new turret and
    // wheel sprites (not yet in the group).
    void InitFields();

    void OnUpdate() override;
    // The pick-up drop, explosion, trails, sound and points label.
    void OnOutro(const std::shared_ptr<kestrum::scenegraph::LayerObject>& other) override;

    // The turret frame that aims at the angle (degrees, from the target to
    // the turret: 90 is straight up), within the turret's frames.
    int TurretFrame(float angle) const;

private:
    void Fire_();
    void Spark_();
};
