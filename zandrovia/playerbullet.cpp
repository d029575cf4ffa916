// Zandrovia: a shot of the player's ships.
#include "zandrovia/playerbullet.h"

#include <algorithm>
#include <cmath>

#include "kestrum-framework/math.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "platform/clock.h"
#include "zandrovia/constants.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/ghostedsprite.h"
#include "zandrovia/globals.h"
#include "zandrovia/objectkind.h"
#include "zandrovia/pooledemitter.h"

using kestrum::scenegraph::LayerObject;

void PlayerBullet::FillPool(kestrum::scenegraph::Layer* layer, int count) {
    PlayerBulletPool.Clear();
    for (int i = 0; i < count; ++i) {
        auto shot = std::make_shared<PlayerBullet>();
        shot->InitFields();
        shot->Layer(layer);
        if (layer) shot->TaskManager(layer->TaskManager);
        shot->ScoreSystem = std::make_shared<kestrum::scenegraph::ScoreSystem>();
        shot->CollisionRead(true);
        shot->Tattooed = true;
        shot->Enabled(false);
        shot->PoolIndex = PlayerBulletPool.Add(shot);
    }
}

void PlayerBullet::InitFields() {
    PoolIndex = 0;
    Velocity = {0, 0};
}

void PlayerBullet::Launch(const std::shared_ptr<LayerObject>& owner, const platform::ImagePtr& image,
                          platform::Vec2i offset, float angle, float speed, int energy, float scale) {
    Image(image);
    BlendMode = platform::BlendMode::Additive;
    Rotation = angle;
    Scale = {scale, scale};
    Velocity = {std::cos(angle) * speed, std::sin(angle) * speed};
    const platform::Vec2f from = owner ? owner->Location() : platform::Vec2f{0, 0};
    Location({from.x + static_cast<float>(offset.x), from.y + static_cast<float>(offset.y)});
    if (ScoreSystem) ScoreSystem->Energy = energy;
    Owner = owner;
    Enabled(true);
}

void PlayerBullet::OnUpdate() {
    Location(Location() + Velocity);
    const float ground = GroundLine();
    if (Y() + Height() / 2 > ground) {
        if (DustEmitter) DustEmitter->Play(X(), ground, 0.75f, BulletDustBudget[0], BulletDustBudget[1]);
        Remove();
        return;
    }
    // A shot that missed (a tracker shot aimed upward or sideways) leaves
    // the play area; it must return its slot, or the pool drains and the
    // squadron stops firing.
    const float halfWidth = ScaledWidth() / 2, halfHeight = ScaledHeight() / 2;
    if (X() < -halfWidth || X() > ViewWidth() + halfWidth || Y() < -halfHeight || Y() > ViewHeight() + halfHeight) {
        Remove();
    }
}

void PlayerBullet::Remove() {
    if (!Enabled()) return;
    PlayerBulletPool.Release(PoolIndex);
    Enabled(false);
}

void PlayerBullet::Discard() {
    if (Enabled()) Remove();
}

bool PlayerBullet::CollisionMethod(const std::shared_ptr<LayerObject>& other) {
    float k1 = 0, k2 = 0;
    switch (KindOf(other.get())) {
        case ObjectKind::Attacker:
        case ObjectKind::Saucer:
        case ObjectKind::Spider: k1 = 0.5f, k2 = 0.5f; break;
        case ObjectKind::Launcher: k1 = 0.25f, k2 = 0.25f; break;
        case ObjectKind::Tank: k1 = 0.5f, k2 = 0.25f; break;
        case ObjectKind::Rocket: return LayerObject::CollisionMethod(other);
        default: return false;
    }
    return kestrum::framework::CirclesOverlap(X(), Y(), k1 * std::min(Width(), Height()), other->X(), other->Y(),
                                              k2 * std::min(other->Width(), other->Height()));
}

void PlayerBullet::OnCollision(const std::shared_ptr<LayerObject>& other) {
    const ObjectKind kind = KindOf(other.get());
    float rate = 0;
    switch (kind) {
        case ObjectKind::Attacker: rate = 1.0f; break;
        case ObjectKind::Launcher:
        case ObjectKind::Saucer:
        case ObjectKind::Spider: rate = 0.25f; break;
        case ObjectKind::Rocket:
        case ObjectKind::Tank: rate = 0.5f; break;
        default: break;
    }
    if (rate > 0) {
        for (GhostedSprite* sprite : HitFlashSprites(other.get())) {
            if (kind == ObjectKind::Spider) sprite->GhostCount = 1;
            else sprite->GhostCount += 1;
        }
        PlaySfx(ImpactSound, rate);
    }
    ApplyHit(other);
}

void PlayerBullet::ApplyHit(const std::shared_ptr<LayerObject>& target) {
    if (!target || !target->ScoreSystem || !ScoreSystem) return;
    // Both outlive the hooks below, which may drop the last other reference.
    const auto self = std::static_pointer_cast<LayerObject>(shared_from_this());
    const auto keep = target;
    const int energy = ScoreSystem->Energy;
    const int targetEnergy = target->ScoreSystem->Energy;
    if (target->Layer() != nullptr) ScoreSystem->Energy -= targetEnergy;
    if (Layer() != nullptr) target->ScoreSystem->Energy -= energy;
    if (ScoreSystem->Energy < 1) {
        ScoreSystem->Energy = 0;
        OnOutro(target);
        Remove();
    }
    if (target->ScoreSystem->Energy < 1) {
        target->ScoreSystem->Energy = 0;
        Score += target->ScoreSystem->Points;
        target->OnOutro(self);
        target->Remove();
    }
}

void PlayerBullet::OnOutro(const std::shared_ptr<LayerObject>& other) {
    if (!ExplosionEmitter || !other) return;
    const float w = other->Width(), h = other->Height();
    // The size is drawn first, then the x offset, then the y offset.
    auto near = [&](float sizeLow, float sizeHigh, float spread) {
        const float size = static_cast<float>(platform::Rnd(sizeLow, sizeHigh));
        const float x = other->X() + static_cast<float>(platform::Rnd(-w * spread, w * spread));
        const float y = other->Y() + static_cast<float>(platform::Rnd(-h * spread, h * spread));
        ExplosionEmitter->Play(x, y, size, ImpactBudget[0], ImpactBudget[1]);
    };
    switch (KindOf(other.get())) {
        case ObjectKind::Attacker: ExplosionEmitter->Play(X(), Y(), 0.25f, ImpactBudget[0], ImpactBudget[1]); break;
        case ObjectKind::Launcher: near(0.5f, 0.75f, 0.25f); break;
        case ObjectKind::Saucer: near(0.5f, 0.75f, 0.5f); break;
        case ObjectKind::Spider: near(0.25f, 0.5f, 0.5f); break;
        case ObjectKind::Tank: near(0.25f, 0.5f, 0.25f); break;
        default: break;
    }
}
