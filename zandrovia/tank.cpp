// Zandrovia: a tank, the ground enemy that drops the pick-ups.
#include "zandrovia/tank.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "platform/clock.h"
#include "zandrovia/constants.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/levels.h"
#include "zandrovia/pickup.h"
#include "zandrovia/player.h"
#include "zandrovia/pooledemitter.h"
#include "zandrovia/tankbullet.h"

namespace {

constexpr float Tau = 2.0f * std::numbers::pi_v<float>;

// The muzzle offset of a turret frame, from the tank's centre.
platform::Vec2f Muzzle(float frame) {
    const int count = static_cast<int>(TurretMuzzleOffsets.size());
    const platform::Vec2i m = TurretMuzzleOffsets[static_cast<std::size_t>(GhostedSprite::FrameIndex(frame, count))];
    return {static_cast<float>(m.x), static_cast<float>(m.y)};
}

}  // namespace

std::shared_ptr<Tank> Tank::New(kestrum::scenegraph::Layer* layer) {
    auto tank = std::make_shared<Tank>();
    tank->InitFields();
    tank->Layer(layer);
    if (layer) tank->TaskManager(layer->TaskManager);
    // The turret joins first, so the wheels are drawn over its foot.
    tank->Turret->Images(TankTopFrames);
    tank->Turret->GhostImages = TankTopGhostFrames;
    tank->Turret->Group(tank.get());
    tank->Turret->Scale = TankScale;
    tank->Wheels->Images(TankWheelFrames);
    tank->Wheels->GhostImages = TankWheelGhostFrames;
    tank->Wheels->Group(tank.get());
    tank->Wheels->Scale = TankScale;
    tank->Width(tank->Wheels->Width() * tank->Wheels->Scale);
    tank->Height(tank->Wheels->Height() * tank->Wheels->Scale);
    const platform::Vec2f centre{tank->Width() * 0.5f, tank->Height() * 0.5f};
    tank->Wheels->Location(centre);
    tank->Turret->Location({centre.x, centre.y + 8});
    tank->Spark = ::Spark::New(tank.get(), SparkRedImage);
    tank->Spark->Location(centre + Muzzle(tank->Turret->Frame));
    tank->Spark->Enabled(false);
    tank->ScoreSystem = std::make_shared<kestrum::scenegraph::ScoreSystem>();
    tank->ScoreSystem->Energy = TankEnergy;
    tank->ScoreSystem->Points = TankScore;
    tank->CollisionWrite(true);
    return tank;
}

void Tank::InitFields() {
    FireCountdown = platform::Rnd(60, 120);
    Turret = std::make_shared<GhostedSprite>();
    Wheels = std::make_shared<GhostedSprite>();
}

void Tank::OnUpdate() {
    Wheels->Frame += 0.1f;

    if (DriveState == 0) {
        DriveTimer = static_cast<int>(platform::Rnd(100, 200));
        Speed = static_cast<float>(platform::Rnd(-8, 8));
        DriveState = 1;
    }
    if (DriveState == 1) {
        DriveTimer -= 1;
        if (DriveTimer < 0) DriveState = 0;
    }

    X(X() + Speed);
    const float vw = ViewWidth();
    const float halfWidth = Width() * 0.5f;
    if (TankDustEnabled && X() > halfWidth && X() < vw - halfWidth && std::abs(Speed) > 1) {
        if (SmokeEmitter) {
            SmokeEmitter->Play(X() + static_cast<float>(DustSide), Y() + 45, 1.0f, TankDustBudget[0],
                               TankDustBudget[1]);
        }
        DustSide = -DustSide;
    }
    Speed *= 0.99f;

    if (X() < -halfWidth) X(vw + halfWidth);
    if (X() > vw + halfWidth) X(-halfWidth);

    Fire_();
    Spark_();
}

int Tank::TurretFrame(float angle) const {
    const int frame = 35 - static_cast<int>(angle / 5);
    return std::clamp(frame, 0, std::max(Turret->LastFrame(), 0));
}

void Tank::Fire_() {
    platform::Vec2f target{ViewWidth() * 0.5f, ViewHeight() * 0.5f};
    if (CurrentPlayer) target = CurrentPlayer->Location();
    const float angle = std::atan2(Turret->WorldY() - target.y, Turret->WorldX() - target.x) / Tau * 360.0f;
    // Only a target above the turret is aimed at.
    if (angle < 0 || angle > 179) return;
    Turret->Frame = static_cast<float>(TurretFrame(angle));

    if (!GameOn()) return;
    FireCountdown -= 1;
    if (FireCountdown >= 0) return;
    FireCountdown = platform::Rnd(60, 120);
    const std::shared_ptr<TankBullet> shell = TankBulletPool.Acquire();
    if (!shell) return;
    shell->Launch(std::static_pointer_cast<Tank>(shared_from_this()), static_cast<int>(angle));
    Spark->Alpha(1);
    Spark->Enabled(true);
    PlaySfx(Shoot1Sound, 1.0f, 0.5f);
}

void Tank::Spark_() {
    if (Spark->Enabled()) {
        Spark->Alpha(Spark->Alpha() - 0.1f);
        if (Spark->Alpha() < 0) Spark->Enabled(false);
    }
    // Where the shell starts: the muzzle of the turret's frame.
    Spark->Location(platform::Vec2f{Width() * 0.5f, Height() * 0.5f} + Muzzle(Turret->Frame));
}

void Tank::OnOutro(const std::shared_ptr<kestrum::scenegraph::LayerObject>&) {
    if (TanksDestroyed >= 0 && TanksDestroyed < static_cast<int>(LevelPickups.size())) {
        const ImageArray& drop = LevelPickups[static_cast<std::size_t>(TanksDestroyed)];
        if (drop) Pickup::New(GameLayer.get(), drop, Location());
        TanksDestroyed += 1;
    }
    Explode(X(), Y(), 1.0f, ExplosionBudget[0], ExplosionBudget[1], 8);
    ShowPoints(ScoreSystem ? ScoreSystem->Points : 0, X(), Y());
}
