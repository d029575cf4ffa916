// Zandrovia: particle effects played from the shared particle pool.
#include "zandrovia/pooledemitter.h"

#include "zandrovia/pooledparticle.h"

PooledEmitter::PooledEmitter(const std::string& path) { Load(path); }

void PooledEmitter::Play(float x, float y, float size, int limit, int kind) {
    if (kind < 0 || kind >= ParticleKinds) return;
    int& live = ParticleCounts[static_cast<std::size_t>(kind)];
    for (const kestrum::scenegraph::EmitterCache& cache : Caches) {
        int count = 0;
        // The count is drawn afresh before every particle, so a range keeps
        // emitting while each new draw exceeds what was emitted so far.
        while (PickParticleCount(cache) > static_cast<float>(count)) {
            if (limit != -1 && live >= limit) return;
            const std::shared_ptr<PooledParticle> particle = ParticlePool.Acquire();
            if (!particle) return;
            ++live;
            particle->Kind = kind;
            particle->Enabled(true);
            particle->Location({x, y});
            Set(cache, particle, size);
            ++count;
        }
    }
}
