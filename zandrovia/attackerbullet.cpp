// Zandrovia: the shot of an attacker or a spider.
#include "zandrovia/attackerbullet.h"

#include <cmath>
#include <numbers>

#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "zandrovia/enemies.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/pooledemitter.h"

void AttackerBullet::FillPool(kestrum::scenegraph::Layer* layer, int count) {
    AttackerBulletPool.Clear();
    for (int i = 0; i < count; ++i) {
        auto shot = std::make_shared<AttackerBullet>();
        shot->InitFields();
        shot->Layer(layer);
        if (layer) shot->TaskManager(layer->TaskManager);
        shot->ScoreSystem = std::make_shared<kestrum::scenegraph::ScoreSystem>();
        shot->CollisionWrite(true);
        shot->Tattooed = true;
        shot->Enabled(false);
        shot->PoolIndex = AttackerBulletPool.Add(shot);
    }
}

void AttackerBullet::InitFields() { Velocity = {0, 0}; }

void AttackerBullet::Launch(const platform::ImagePtr& image,
                            const std::shared_ptr<kestrum::scenegraph::LayerObject>& shooter, float angle) {
    Image(image);
    BlendMode = platform::BlendMode::Additive;
    if (shooter) Location(shooter->Location());
    if (ScoreSystem) {
        ScoreSystem->Energy = 1;
        ScoreSystem->Points = 10;
    }
    Owner = shooter;
    FlippedX(-1);
    Rotation = angle / 360.0f * 2.0f * std::numbers::pi_v<float>;
    const float speed = static_cast<float>(AttackerBulletSpeed);
    Velocity = {std::cos(Rotation) * -speed, std::sin(Rotation) * -speed};
    Enabled(true);
}

void AttackerBullet::OnUpdate() {
    Location(Location() + Velocity);
    if (X() < -Width() * 0.5f || X() > ViewWidth() + Width() * 0.5f || Y() < -Height() * 0.5f) {
        Remove();
        return;
    }
    const float ground = GroundLine();
    if (Y() + Height() * 0.5f > ground) {
        if (DustEmitter) DustEmitter->Play(X(), ground, 1.0f, -1, 0);
        Remove();
    }
}

void AttackerBullet::Remove() {
    if (!Enabled()) return;
    AttackerBulletPool.Release(PoolIndex);
    Enabled(false);
}

void AttackerBullet::OnOutro(const std::shared_ptr<kestrum::scenegraph::LayerObject>&) {
    if (ExplosionEmitter) ExplosionEmitter->Play(X(), Y(), 0.25f, -1, 0);
    PlaySfx(ImpactSound);
}

void AttackerBullet::Discard() {
    if (Enabled()) Remove();
}
