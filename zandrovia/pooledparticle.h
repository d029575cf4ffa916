// Zandrovia: particles drawn from one shared pool.
//
// Every particle effect of play takes its particles from ParticlePool, a pool
// of ParticleTotal particles that stay in the effects layer for the whole
// game, so no effect allocates while playing. ParticleCounts holds the live
// particles per effect kind (0 to 5), which lets PooledEmitter::Play keep
// each kind under a budget. A particle returns itself to the pool at the end
// of its life (Remove) or when its layer is cleared (Discard).
//
// Depends on kestrum-scenegraph (Particle, Layer) and kestrum-framework (ObjectPool).
#pragma once

#include <array>
#include <memory>

#include "kestrum-framework/objectpool.h"
#include "kestrum-scenegraph/particle.h"

constexpr int ParticleKinds = 6;

class PooledParticle : public kestrum::scenegraph::Particle {
public:
    // The kind under which the particle was last emitted: its counter in ParticleCounts.
    int Kind = 0;
    // The slot of ParticlePool that Remove frees.
    int PoolIndex = 0;

    // Uncounts the particle, frees its slot and disables it; it stays in its
    // layer. A particle that is not handed out is only disabled, so a second
    // Remove never counts it down twice.
    void Remove() override;
    // Remove while enabled; a free particle is left alone.
    void Discard() override;
};

extern std::array<int, ParticleKinds> ParticleCounts;
extern kestrum::framework::ObjectPool<PooledParticle> ParticlePool;

// Builds ParticleTotal particles into the layer and its task manager, each
// tattooed, disabled and added to ParticlePool (emptied first), and sets the
// counters to 0.
void FillParticlePool(kestrum::scenegraph::Layer* layer);

// Gives the pool and the counters their start values (an empty pool).
void InitPooledParticles();
