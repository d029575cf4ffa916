// Zandrovia: the shell of a tank's turret.
#include "zandrovia/tankbullet.h"

#include <cmath>
#include <numbers>

#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "zandrovia/constants.h"
#include "zandrovia/enemies.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/ghostedsprite.h"
#include "zandrovia/globals.h"
#include "zandrovia/levels.h"
#include "zandrovia/pooledemitter.h"
#include "zandrovia/tank.h"

void TankBullet::FillPool(kestrum::scenegraph::Layer* layer, int count) {
    TankBulletPool.Clear();
    for (int i = 0; i < count; ++i) {
        auto shot = std::make_shared<TankBullet>();
        shot->InitFields();
        shot->Layer(layer);
        if (layer) shot->TaskManager(layer->TaskManager);
        shot->Image(TankBulletImage);
        shot->BlendMode = platform::BlendMode::Additive;
        shot->ScoreSystem = std::make_shared<kestrum::scenegraph::ScoreSystem>();
        shot->CollisionWrite(true);
        shot->Tattooed = true;
        shot->Enabled(false);
        shot->PoolIndex = TankBulletPool.Add(shot);
    }
}

void TankBullet::InitFields() { Velocity = {0, 0}; }

void TankBullet::Launch(const std::shared_ptr<Tank>& tank, int angle) {
    Launch(tank, tank && tank->Turret ? tank->Turret->Frame : 0.0f, angle);
}

void TankBullet::Launch(const std::shared_ptr<kestrum::scenegraph::LayerObject>& shooter, float turretFrame,
                        int angle) {
    // The frame's remainder by 36, wrapped so that no frame value reads
    // outside the table.
    const int i = GhostedSprite::FrameIndex(turretFrame, static_cast<int>(TurretMuzzleOffsets.size()));
    const platform::Vec2i muzzle = TurretMuzzleOffsets[static_cast<std::size_t>(i)];
    const platform::Vec2f from = shooter ? shooter->Location() : platform::Vec2f{0, 0};
    Location({from.x + static_cast<float>(muzzle.x), from.y + static_cast<float>(muzzle.y)});
    if (ScoreSystem) {
        ScoreSystem->Energy = TankBulletEnergy;
        ScoreSystem->Points = TankBulletScore;
    }
    Owner = shooter;
    FlippedX(-1);
    Rotation = static_cast<float>(angle) / 360.0f * 2.0f * std::numbers::pi_v<float>;
    const float speed = static_cast<float>(TankBulletSpeed);
    Velocity = {std::cos(Rotation) * -speed, std::sin(Rotation) * -speed};
    Enabled(true);
}

void TankBullet::OnUpdate() {
    Location(Location() + Velocity);
    if (X() < 0 || X() > ViewWidth() || Y() < 0 || Y() > ViewHeight()) Remove();
}

void TankBullet::Remove() {
    if (!Enabled()) return;
    TankBulletPool.Release(PoolIndex);
    Enabled(false);
}

void TankBullet::OnOutro(const std::shared_ptr<kestrum::scenegraph::LayerObject>&) {
    if (ExplosionEmitter) ExplosionEmitter->Play(X(), Y(), 0.25f, -1, 0);
    PlaySfx(ImpactSound);
}

void TankBullet::Discard() {
    if (Enabled()) Remove();
}
