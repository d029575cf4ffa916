// ScoreSystem: a layer object's record of energy, points, collected score,
// hits and invulnerability. LayerObject::ApplyScoreSystem settles a hit
// between two records; the game sets Energy and Points after construction.
#pragma once

namespace kestrum::scenegraph {

class ScoreSystem {
public:
    // Hits taken that counted (one per exchange in which the record lost energy).
    int Hits = 0;
    // The record loses no energy and counts no hits.
    bool Invulnerable = false;
    // Awarded to whoever destroys the object.
    int Points = 0;
    // Below 1 the object is destroyed and the record is set to 0.
    int Energy = 1;
    // Points collected by this object (kill credit).
    int Score = 0;
};

}  // namespace kestrum::scenegraph
