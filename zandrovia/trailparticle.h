// Zandrovia: the glowing streaks that fly out of explosions.
//
// TrailPool holds a fixed set of trail particles that stay in the effects
// layer for the whole game. TrailParticle::Create starts a burst of them in
// random directions; each flies straight on at 5 units per update, stretches
// along its direction and fades, and returns itself to the pool when its
// alpha drops below 0 (after 100 to 200 updates at scale 1). A burst takes
// only the free particles, so effects never allocate during play.
//
// Depends on gamesprite.h and the game's globals (TrailPool).
#pragma once

#include "platform/types.h"
#include "zandrovia/gamesprite.h"

class TrailParticle : public GameSprite {
public:
    // Factor applied to Velocity every update.
    platform::Vec2f Drag{1, 1};
    // Added to the alpha every update.
    float AlphaStep = 0;
    // The particle's slot in TrailPool.
    int PoolIndex = 0;
    platform::Vec2f Velocity{0, 0};
    // Added to ScaleX every update.
    float ScaleStep = 0;

    TrailParticle() = default;

    // Empties TrailPool and fills it with count particles in the layer and
    // its task manager, each showing the image, tattooed and disabled.
    static void FillPool(kestrum::scenegraph::Layer* layer, int count, const platform::ImagePtr& image);

    // Starts count particles from the pool at (x, y); a particle short of the
    // pool is skipped.
    static void Create(int count, float x, float y, float scale);
    // Sets one particle up as Create does, without taking it from the pool or enabling it.
    void Init(float x, float y, float scale);
    void InitFields();

    void OnUpdate() override;
    // Frees the slot and disables the particle, which stays in its layer.
    // Only a particle in flight (enabled) has a slot to free.
    void Remove() override;
    void Discard() override;
};
