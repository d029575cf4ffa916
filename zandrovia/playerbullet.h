// Zandrovia: a shot of the player's ships.
//
// PlayerBulletPool holds a fixed set of shots that stay in the bullets layer
// for the whole game. A ship takes a free one and launches it: a normal shot
// of a burst (energy 1) or a tracker shot (energy 2, twice the size). A shot
// is a collision reader that hits attackers, launchers, rockets, saucers,
// spiders and tanks and passes through everything else; its energy is the
// damage it does, and a hit settles both energies at once (ApplyHit): a
// destroyed target adds its points to Score. A shot that is spent, reaches
// the ground or leaves the play area returns its slot to the pool and is
// disabled, staying in its layer.
//
// Depends on gamesprite.h, kestrum-scenegraph (ScoreSystem) and the game's globals.
#pragma once

#include <memory>

#include "platform/types.h"
#include "zandrovia/gamesprite.h"

class PlayerBullet : public GameSprite {
public:
    // The shot's slot in PlayerBulletPool.
    int PoolIndex = 0;
    // Motion per update, set by Launch.
    platform::Vec2f Velocity{0, 0};

    PlayerBullet() = default;
    void InitFields();
    // Empties PlayerBulletPool and fills it with count shots in the layer and its task
    // manager, each with a new score record, a collision reader, tattooed and disabled.
    static void FillPool(kestrum::scenegraph::Layer* layer, int count);

    // Starts the shot from owner's location + offset along angle (radians;
    // 90 degrees points down the screen) at speed units per update, with the
    // energy as its damage, the image additive at the scale. The owner gets
    // the kill credit and is never hit by its own shot.
    void Launch(const std::shared_ptr<kestrum::scenegraph::LayerObject>& owner, const platform::ImagePtr& image,
                platform::Vec2i offset, float angle, float speed, int energy, float scale);
    // Settles a hit with the target: each loses the other's energy; a spent
    // shot explodes and returns to its pool, a destroyed target adds its
    // points to Score and gets OnOutro and Remove.
    void ApplyHit(const std::shared_ptr<kestrum::scenegraph::LayerObject>& target);

    void OnUpdate() override;
    // Frees the slot and disables the shot, which stays in its layer. Only a
    // shot in flight (enabled) has a slot to free.
    void Remove() override;
    // The shot's small impact effect, placed and sized by the kind of target.
    void OnOutro(const std::shared_ptr<kestrum::scenegraph::LayerObject>& other) override;
    // The hit flash and impact sound by the kind of target, then ApplyHit.
    void OnCollision(const std::shared_ptr<kestrum::scenegraph::LayerObject>& other) override;
    void Discard() override;
    bool CollisionMethod(const std::shared_ptr<kestrum::scenegraph::LayerObject>& other) override;
};
