#include "kestrum-scenegraph/scoresystem.h"

#include "kestrum-scenegraph/layerobject.h"

namespace kestrum::scenegraph {

namespace {

// Credits the destroyed object's points to the destroyer's owner when it has
// one (nothing when that owner has no record), else to the destroyer.
void Credit(const LayerObject& destroyer, int points) {
    if (destroyer.Owner) {
        if (destroyer.Owner->ScoreSystem) destroyer.Owner->ScoreSystem->Score += points;
    } else if (destroyer.ScoreSystem) {
        destroyer.ScoreSystem->Score += points;
    }
}

}  // namespace

void LayerObject::ApplyScoreSystem(const std::shared_ptr<LayerObject>& other) {
    if (!other || !ScoreSystem || !other->ScoreSystem) return;
    // Held: the records and both objects must outlive the hooks below.
    auto self = Self_();
    auto a = ScoreSystem;
    auto b = other->ScoreSystem;
    const int energyA = a->Energy;
    const int energyB = b->Energy;
    if (other->Layer() != nullptr && !a->Invulnerable) {
        a->Energy -= energyB;
        a->Hits += 1;
    }
    if (Layer() != nullptr && !b->Invulnerable) {
        b->Energy -= energyA;
        b->Hits += 1;
    }
    if (a->Energy < 1) {
        a->Energy = 0;
        Credit(*other, a->Points);
        OnOutro(other);
        Remove();
    }
    if (b->Energy < 1) {
        b->Energy = 0;
        Credit(*this, b->Points);
        other->OnOutro(self);
        other->Remove();
    }
}

}  // namespace kestrum::scenegraph
