// Zandrovia: particles drawn from one shared pool.
#include "zandrovia/pooledparticle.h"

#include "kestrum-scenegraph/layer.h"
#include "zandrovia/constants.h"

std::array<int, ParticleKinds> ParticleCounts{};
kestrum::framework::ObjectPool<PooledParticle> ParticlePool;

void PooledParticle::Remove() {
    const bool handedOut = PoolIndex >= 0 && PoolIndex < ParticlePool.Count &&
                           ParticlePool.Used[static_cast<std::size_t>(PoolIndex)];
    if (handedOut) {
        if (Kind >= 0 && Kind < ParticleKinds && ParticleCounts[static_cast<std::size_t>(Kind)] > 0) {
            --ParticleCounts[static_cast<std::size_t>(Kind)];
        }
        ParticlePool.Release(PoolIndex);
    }
    Enabled(false);
}

void PooledParticle::Discard() {
    if (Enabled()) Remove();
}

void FillParticlePool(kestrum::scenegraph::Layer* layer) {
    ParticlePool.Clear();
    ParticleCounts.fill(0);
    for (int i = 0; i < ParticleTotal; ++i) {
        auto particle = std::make_shared<PooledParticle>();
        particle->Layer(layer);
        if (layer) particle->TaskManager(layer->TaskManager);
        particle->Tattooed = true;
        particle->Enabled(false);
        particle->PoolIndex = ParticlePool.Add(particle);
    }
}

void InitPooledParticles() {
    ParticleCounts.fill(0);
    ParticlePool.Clear();
}
