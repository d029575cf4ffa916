// Zandrovia: the shot of an attacker or a spider.
//
// AttackerBulletPool holds a fixed set of these shots in the bullets layer.
// A shooter takes a free one and launches it; the shot flies straight and
// returns its slot to the pool, disabled but still in its layer, when it
// leaves the play area at the left, right or top, when it reaches the ground
// (with a puff of dust) or when a ship destroys it (OnOutro, then Remove).
// Shots are collision writers: the player's ships test against them.
//
// Depends on gamesprite.h and the game's globals.
#pragma once

#include <memory>

#include "platform/types.h"
#include "zandrovia/gamesprite.h"

class AttackerBullet : public GameSprite {
public:
    platform::Vec2f Velocity{0, 0};
    // The shot's slot in AttackerBulletPool.
    int PoolIndex = 0;

    AttackerBullet() = default;
    void InitFields();
    // Empties AttackerBulletPool and fills it with count shots in the layer and its task
    // manager, each with a new score record, a collision writer, tattooed and disabled.
    static void FillPool(kestrum::scenegraph::Layer* layer, int count);

    // Starts the shot from the shooter's location. The angle, in degrees,
    // points from the target to the shooter: the shot flies the opposite way
    // at AttackerBulletSpeed. Energy 1, worth 10 points.
    void Launch(const platform::ImagePtr& image, const std::shared_ptr<kestrum::scenegraph::LayerObject>& shooter,
                float angle);

    void OnUpdate() override;
    // Frees the slot and disables the shot; only a shot in flight (enabled)
    // has a slot to free, so a second call cannot free a slot taken again.
    void Remove() override;
    // A small explosion and the impact sound.
    void OnOutro(const std::shared_ptr<kestrum::scenegraph::LayerObject>& other) override;
    void Discard() override;
};
