// Zandrovia: the shell of a tank's turret.
//
// TankBulletPool holds a fixed set of shells in the bullets layer, each with
// its image and additive blend set once. A tank takes a free one and
// launches it from the muzzle of its turret's current frame; the shell flies
// straight and returns its slot to the pool, disabled but still in its
// layer, as soon as its centre leaves the view or when a ship destroys it.
// Shells are collision writers.
//
// Depends on gamesprite.h, tank.h and the game's globals.
#pragma once

#include <memory>

#include "platform/types.h"
#include "zandrovia/gamesprite.h"

class Tank;

class TankBullet : public GameSprite {
public:
    platform::Vec2f Velocity{0, 0};
    // The shell's slot in TankBulletPool.
    int PoolIndex = 0;

    TankBullet() = default;
    void InitFields();
    // Empties TankBulletPool and fills it with count shells in the layer and its task
    // manager, each with a new score record, a collision writer, showing TankBulletImage additively, tattooed and disabled.
    static void FillPool(kestrum::scenegraph::Layer* layer, int count);

    // Starts the shell from the tank's location plus the muzzle offset of
    // its turret's frame (TurretMuzzleOffsets). The angle, in whole degrees,
    // points from the target to the turret: the shell flies the opposite way
    // at TankBulletSpeed, with TankBulletEnergy and TankBulletScore.
    void Launch(const std::shared_ptr<Tank>& tank, int angle);
    // The same from any shooter, as if its turret showed turretFrame.
    void Launch(const std::shared_ptr<kestrum::scenegraph::LayerObject>& shooter, float turretFrame, int angle);

    void OnUpdate() override;
    // Frees the slot and disables the shell; only a shell in flight (enabled)
    // has a slot to free.
    void Remove() override;
    // A small explosion and the impact sound.
    void OnOutro(const std::shared_ptr<kestrum::scenegraph::LayerObject>& other) override;
    void Discard() override;
};
