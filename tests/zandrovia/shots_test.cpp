// Pooled shots in the running game: launch, flight, ground puffs, leaving
// the play area, the energy exchange of a hit, and the pools' slots.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scene.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "zandrovia/attackerbullet.h"
#include "zandrovia/constants.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/player.h"
#include "zandrovia/playerbullet.h"
#include "zandrovia/pooledparticle.h"
#include "zandrovia/tankbullet.h"

namespace {

using gamedriver::GameDriver;
using gamedriver::SoundProbe;
using kestrum::scenegraph::LayerObject;

constexpr float Degrees = 2.0f * std::numbers::pi_v<float> / 360.0f;

int Live(int kind) { return ParticleCounts[static_cast<std::size_t>(kind)]; }

// A target of the given energy and points standing in a layer.
std::shared_ptr<LayerObject> Target(int energy, int points, kestrum::scenegraph::Layer* layer) {
    auto target = std::make_shared<LayerObject>();
    target->Layer(layer);
    target->ScoreSystem = std::make_shared<kestrum::scenegraph::ScoreSystem>();
    target->ScoreSystem->Energy = energy;
    target->ScoreSystem->Points = points;
    return target;
}

}  // namespace

TEST(PlayerBullet, FliesStraightPuffsOnTheGroundAndLeavesThePlayArea) {
    GameDriver game;
    game.BuildGround();
    const auto ship = game.AddShip(3);
    const auto shot = PlayerBulletPool.Acquire();
    shot->Launch(ship, PlayerBulletImage, {0, 32}, 90 * Degrees, 16, 1, 1);
    EXPECT_EQ(shot->Location(), ship->Location() + platform::Vec2f(0, 32));
    EXPECT_TRUE(shot->Enabled());
    EXPECT_EQ(shot->Rotation, 90 * Degrees);
    const float ground = GroundLine();
    int updates = 0;
    while (shot->Enabled() && updates < 100) {
        const float y = shot->Y();
        shot->OnUpdate();
        ++updates;
        if (shot->Enabled()) {
            EXPECT_NEAR(shot->Y() - y, 16, 1e-3f);
        }
    }
    EXPECT_FALSE(shot->Enabled());
    EXPECT_EQ(shot->Layer(), BulletsLayer.get());
    // The puff stands on the ground line under the shot, not at the shot.
    EXPECT_GT(Live(BulletDustBudget[1]), 0);
    for (int i = 0; i < ParticlePool.Count; ++i) {
        const auto particle = ParticlePool.Item(i);
        if (particle->Enabled()) {
            EXPECT_EQ(particle->Kind, BulletDustBudget[1]);
            EXPECT_NEAR(particle->X(), shot->X(), 1e-3f);
            EXPECT_NEAR(particle->Y(), ground, 1e-3f);
        }
    }
    // The slot is free again; Discard of a free shot does nothing.
    shot->Discard();
    EXPECT_FALSE(PlayerBulletPool.Used[static_cast<std::size_t>(shot->PoolIndex)]);

    // Shots that miss leave the play area at any edge and free their slot.
    const struct {
        platform::Vec2f from;
        float degrees;
    } misses[] = {{{568, 100}, -90}, {{20, 300}, 180}, {{1100, 300}, 0}};
    soil = nullptr;  // no ground: the bottom edge too
    for (const auto& miss : misses) {
        const auto flying = PlayerBulletPool.Acquire();
        ship->Location(miss.from);
        flying->Launch(ship, PurpleBulletImage, {0, 0}, miss.degrees * Degrees, 16, 2, 2);
        for (int i = 0; i < 200 && flying->Enabled(); ++i) flying->OnUpdate();
        EXPECT_FALSE(flying->Enabled()) << miss.degrees;
        // Released only once wholly outside: its centre is past the edge by half its size.
        const float half = flying->ScaledWidth() / 2;
        EXPECT_TRUE(flying->X() < -half || flying->X() > 1136 + half || flying->Y() < -flying->ScaledHeight() / 2);
    }
    const auto down = PlayerBulletPool.Acquire();
    ship->Location({568, 600});
    down->Launch(ship, PlayerBulletImage, {0, 32}, 90 * Degrees, 16, 1, 1);
    for (int i = 0; i < 10 && down->Enabled(); ++i) down->OnUpdate();
    EXPECT_FALSE(down->Enabled());
}

TEST(PlayerBullet, AHitExchangesEnergiesAndADestroyedTargetScores) {
    GameDriver game;
    const auto ship = game.AddShip(3);
    // (shot energy, target energy, target points) -> (shot left, target left, spent, destroyed, score)
    const struct {
        int shot, target, points;
        int shotLeft, targetLeft;
        bool spent, destroyed;
        int score;
    } cases[] = {
        {1, 5, 50, 0, 4, true, false, 0},     // a normal shot on a hunter
        {2, 3, 30, 0, 1, true, false, 0},     // a tracker shot on a rocket
        {2, 1, 30, 1, 0, false, true, 30},    // ... and the second one
        {1, 1, 10, 0, 0, true, true, 10},     // both go
    };
    for (const auto& c : cases) {
        Score = 0;
        const auto shot = PlayerBulletPool.Acquire();
        shot->Launch(ship, PlayerBulletImage, {0, 0}, 0, 0, c.shot, 1);
        const auto target = Target(c.target, c.points, GameLayer.get());
        shot->ApplyHit(target);
        EXPECT_EQ(shot->ScoreSystem->Energy, c.shotLeft) << c.shot << " vs " << c.target;
        EXPECT_EQ(target->ScoreSystem->Energy, c.targetLeft) << c.shot << " vs " << c.target;
        EXPECT_EQ(!shot->Enabled(), c.spent);
        EXPECT_EQ(target->Layer() == nullptr, c.destroyed);
        EXPECT_EQ(Score, c.score);
        shot->Remove();
    }
    // A target outside any layer deals no damage; without records nothing happens.
    const auto shot = PlayerBulletPool.Acquire();
    shot->Launch(ship, PlayerBulletImage, {0, 0}, 0, 0, 1, 1);
    const auto loose = Target(5, 50, nullptr);
    shot->ApplyHit(loose);
    EXPECT_EQ(shot->ScoreSystem->Energy, 1);
    EXPECT_EQ(loose->ScoreSystem->Energy, 4);
    const auto plain = std::make_shared<LayerObject>();
    shot->ApplyHit(plain);
    shot->ApplyHit(nullptr);
    EXPECT_TRUE(shot->Enabled());
    // Only enemies are hit: men, pick-ups, ships and enemy shots pass.
    EXPECT_FALSE(shot->CollisionMethod(plain));
    EXPECT_FALSE(shot->CollisionMethod(ship));
    EXPECT_FALSE(shot->CollisionMethod(AttackerBulletPool.Item(0)));
    EXPECT_FALSE(shot->CollisionMethod(nullptr));
}

TEST(EnemyShots, LaunchFlightBoundsAndSlots) {
    GameDriver game;
    game.BuildGround();
    const auto ship = game.AddShip(3);
    const auto shooter = std::make_shared<LayerObject>();
    shooter->Location({500, 300});

    // Launched at 90 degrees, both fly straight up.
    const auto shot = AttackerBulletPool.Acquire();
    shot->Launch(SpiderBulletImage, shooter, 90);
    EXPECT_NEAR(shot->Velocity.x, 0, 1e-4f);
    EXPECT_NEAR(shot->Velocity.y, -12, 1e-4f);
    EXPECT_EQ(shot->Location(), (platform::Vec2f{500, 300}));
    EXPECT_EQ(shot->FlippedX(), -1);
    EXPECT_EQ(shot->Owner, shooter);
    EXPECT_EQ(shot->ScoreSystem->Energy, 1);
    EXPECT_EQ(shot->ScoreSystem->Points, 10);
    EXPECT_EQ(shot->BlendMode, platform::BlendMode::Additive);
    const auto shell = TankBulletPool.Acquire();
    shell->Launch(shooter, 17.0f, 90);
    EXPECT_NEAR(shell->Velocity.y, -8, 1e-4f);
    // A turret on frame 17 fires from (0, -23) above the tank.
    EXPECT_EQ(shell->Location(), (platform::Vec2f{500, 277}));
    EXPECT_EQ(shell->ScoreSystem->Points, 10);
    shell->Launch(shooter, 35.9f, 0);
    EXPECT_EQ(shell->Location(), (platform::Vec2f{455, 305}));
    shell->Launch(shooter, -1.0f, 0);  // a frame below 0 still picks a muzzle of the table
    EXPECT_EQ(shell->Location(), (platform::Vec2f{455, 305}));

    // A shell leaves as soon as its centre passes an edge; an attacker shot
    // only past half its width.
    shell->Location({0.1f, 300});
    shell->Velocity = {-0.2f, 0};
    shell->OnUpdate();
    EXPECT_FALSE(shell->Enabled());
    shot->Location({0, 300});
    shot->Velocity = {-1, 0};
    int updates = 0;
    while (shot->Enabled() && updates < 100) {
        shot->OnUpdate();
        ++updates;
    }
    EXPECT_EQ(updates, static_cast<int>(std::floor(shot->Width() / 2)) + 1);
    EXPECT_EQ(Live(0), 0);

    // An attacker shot on the ground puffs at the ground line in the same update.
    const auto falling = AttackerBulletPool.Acquire();
    falling->Launch(SpiderBulletImage, shooter, 270);
    falling->Location({200, GroundLine() - falling->Height() / 2 - 1});
    falling->OnUpdate();
    EXPECT_FALSE(falling->Enabled());
    EXPECT_GT(Live(0), 0);

    // Destroyed by a ship: a small explosion and the impact sound.
    SoundProbe impact(ImpactSound);
    const int before = Live(0);
    const auto hit = AttackerBulletPool.Acquire();
    hit->Launch(SpiderBulletImage, shooter, 90);
    hit->OnOutro(ship);
    EXPECT_GT(Live(0), before);
    EXPECT_EQ(impact.Plays(), 1);

    // Eight shots in flight: a ninth is skipped; Remove acts once only.
    AttackerBulletPool.ReleaseAll();
    for (int i = 0; i < AttackerBulletPool.Count; ++i) AttackerBulletPool.Item(i)->Enabled(false);
    std::vector<std::shared_ptr<AttackerBullet>> eight;
    for (int i = 0; i < 8; ++i) {
        eight.push_back(AttackerBulletPool.Acquire());
        eight.back()->Launch(SpiderBulletImage, shooter, 90);
    }
    EXPECT_FALSE(AttackerBulletPool.Acquire());
    eight[3]->Remove();
    const auto again = AttackerBulletPool.Acquire();
    EXPECT_EQ(again, eight[3]);
    again->Launch(SpiderBulletImage, shooter, 90);
    eight[5]->Remove();
    eight[5]->Remove();
    eight[5]->Discard();
    EXPECT_EQ(AttackerBulletPool.Acquire(), eight[5]);
    EXPECT_FALSE(AttackerBulletPool.Acquire());

    // The layers' clearing at a level change sends every shot home.
    GameScene->ClearLayers();
    int used = 0;
    for (int i = 0; i < AttackerBulletPool.Count; ++i) used += AttackerBulletPool.Used[static_cast<std::size_t>(i)];
    EXPECT_EQ(used, 1);  // the one taken above was never launched
    EXPECT_EQ(BulletsLayer->CountLayerObjects(), 40);
}
