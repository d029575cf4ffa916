// Zandrovia: particle effects played from the shared particle pool.
//
// A PooledEmitter is a particle file's blocks (one EmitterCache each); Play
// re-initialises free particles of ParticlePool in place at a point, under an
// optional budget of live particles of one kind.
//
// Depends on kestrum-scenegraph (Emitter) and pooledparticle.h.
#pragma once

#include <string>

#include "kestrum-scenegraph/emitter.h"

class PooledEmitter : public kestrum::scenegraph::Emitter {
public:
    PooledEmitter() = default;
    // Reads the particle file (an "asset::" path when it has no scheme).
    explicit PooledEmitter(const std::string& path);

    // Emits each block's particles at (x, y) in the space of the particles'
    // layer. size scales motion and scale; limit is the budget of live
    // particles of kind (-1: none). A reached budget or an empty pool ends
    // the whole call, leaving the later blocks without particles. A kind
    // outside 0 to 5 emits nothing.
    void Play(float x, float y, float size, int limit, int kind);
};
