// The enemies' pooled shots: launch, the edges of the play area, the dust
// at the ground, their destruction, and slots that a second Remove must not
// free.
#include <gtest/gtest.h>

#include <cmath>

#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "zandrovia/attacker.h"
#include "zandrovia/attackerbullet.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/enemytesting.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/pooledparticle.h"
#include "zandrovia/tank.h"
#include "zandrovia/tankbullet.h"

using enemytesting::InFlight;
using enemytesting::SoundSpy;

namespace {

std::shared_ptr<Tank> TankAt(platform::Vec2f at) {
    const auto tank = Tank::New(GameLayer.get());
    tank->Location(at);
    return tank;
}

std::shared_ptr<Attacker> ShooterAt(platform::Vec2f at) {
    const auto a = Attacker::New(GameLayer.get(), HunterFrames, HunterGhostFrames, 5, 50);
    a->Location(at);
    return a;
}

// Particles started at the point and not yet moved.
int ParticlesAt(platform::Vec2f at) {
    int count = 0;
    for (int i = 0; i < ParticlePool.Count; ++i) {
        const auto p = ParticlePool.Item(i);
        count += p->Enabled() && p->Location() == at;
    }
    return count;
}

}  // namespace

TEST(EnemyShots, ALaunchAt90DegreesFliesStraightUp) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const auto hunter = ShooterAt({300, 300});
    const auto shot = AttackerBulletPool.Acquire();
    shot->Launch(PurpleBulletImage, hunter, 90);
    EXPECT_TRUE(shot->Enabled());
    EXPECT_EQ(shot->Location(), hunter->Location());
    EXPECT_NEAR(shot->Velocity.x, 0, 1e-5f);
    EXPECT_FLOAT_EQ(shot->Velocity.y, -12);
    EXPECT_EQ(shot->Owner, hunter);
    EXPECT_EQ(shot->FlippedX(), -1);
    EXPECT_EQ(shot->BlendMode, platform::BlendMode::Additive);
    EXPECT_EQ(shot->ScoreSystem->Energy, 1);
    EXPECT_EQ(shot->ScoreSystem->Points, 10);

    const auto tank = TankAt({500, 515});
    tank->Turret->Frame = 17;
    const auto shell = TankBulletPool.Acquire();
    shell->Launch(tank, 90);
    EXPECT_TRUE(shell->Enabled());
    EXPECT_NEAR(shell->Velocity.x, 0, 1e-5f);
    EXPECT_FLOAT_EQ(shell->Velocity.y, -8);
    EXPECT_EQ(shell->Owner, tank);
    EXPECT_EQ(shell->Image(), TankBulletImage);
    EXPECT_EQ(shell->ScoreSystem->Energy, 1);
    EXPECT_EQ(shell->ScoreSystem->Points, 10);
    // The muzzle of turret frame 17 is 23 above the tank's centre.
    EXPECT_EQ(shell->Location(), (platform::Vec2f{500, 492}));
}

TEST(EnemyShots, ShellsLeaveAtTheViewsEdgesAttackerShotsHalfTheirSizeBeyond) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const float vw = ViewWidth(), vh = ViewHeight();
    const auto hunter = ShooterAt({300, 300});
    const auto tank = TankAt({300, 515});
    struct Case {
        bool shell;
        platform::Vec2f at;
        bool released;
    };
    // The purple shot is 24 × 12.
    const Case cases[] = {
        {true, {-0.1f, 300}, true},       {true, {0, 300}, false},           {true, {vw + 0.1f, 300}, true},
        {true, {vw, 300}, false},         {true, {300, -0.1f}, true},        {true, {300, vh + 0.1f}, true},
        {true, {300, vh - 1}, false},     {false, {-12.1f, 300}, true},      {false, {-11.9f, 300}, false},
        {false, {vw + 12.1f, 300}, true}, {false, {vw + 11.9f, 300}, false}, {false, {300, -6.1f}, true},
        {false, {300, -5.9f}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.shell ? "shell at " : "shot at ") << c.at.x << ", " << c.at.y);
        const int particles = ParticleCounts[0];
        if (c.shell) {
            const auto shell = TankBulletPool.Acquire();
            shell->Launch(tank, 90);
            shell->Velocity = {0, 0};
            shell->Location(c.at);
            shell->OnUpdate();
            EXPECT_EQ(!shell->Enabled(), c.released);
            EXPECT_EQ(shell->Layer(), BulletsLayer.get());
            shell->Remove();
        } else {
            const auto shot = AttackerBulletPool.Acquire();
            shot->Launch(PurpleBulletImage, hunter, 90);
            shot->Velocity = {0, 0};
            shot->Location(c.at);
            shot->OnUpdate();
            EXPECT_EQ(!shot->Enabled(), c.released);
            EXPECT_EQ(shot->Layer(), BulletsLayer.get());
            shot->Remove();
        }
        // Leaving the play area makes no explosion.
        EXPECT_EQ(ParticleCounts[0], particles);
    }
    EXPECT_EQ(InFlight(AttackerBulletPool), 0);
    EXPECT_EQ(InFlight(TankBulletPool), 0);
}

TEST(EnemyShots, AnAttackerShotTouchingTheGroundPuffsDustOnTheGroundLine) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const float ground = GroundLine();
    const auto shot = AttackerBulletPool.Acquire();
    shot->Launch(PurpleBulletImage, ShooterAt({250, 300}), -90);  // straight down
    shot->Location({250, ground - shot->Height() / 2 - 11});
    shot->OnUpdate();  // 12 down: its lower edge is 1 below the ground line
    EXPECT_FALSE(shot->Enabled());
    EXPECT_GT(ParticlesAt({250, ground}), 0);
    EXPECT_EQ(ParticleCounts[0], ParticlesAt({250, ground}));
}

TEST(EnemyShots, ADestroyedShotExplodesSmallWithTheImpactSound) {
    gamedriver::GameDriver game;
    game.BuildGround();
    SoundSpy impacts(ImpactSound);
    const auto shot = AttackerBulletPool.Acquire();
    shot->Launch(PurpleBulletImage, ShooterAt({250, 300}), 90);
    shot->OnOutro(nullptr);
    shot->Remove();
    const auto shell = TankBulletPool.Acquire();
    shell->Launch(TankAt({600, 515}), 90);
    shell->OnOutro(nullptr);
    shell->Remove();
    EXPECT_EQ(impacts.Plays(), 2);
    EXPECT_EQ(ParticlesAt({250, 300}) + ParticlesAt(shell->Location()), ParticleCounts[0]);
    EXPECT_GT(ParticlesAt({250, 300}), 0);
    EXPECT_GT(ParticlesAt(shell->Location()), 0);
    EXPECT_EQ(InFlight(AttackerBulletPool) + InFlight(TankBulletPool), 0);
}

TEST(EnemyShots, ASecondRemoveCannotFreeASlotThatWasTakenAgain) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const auto hunter = ShooterAt({300, 300});
    std::vector<std::shared_ptr<AttackerBullet>> shots;
    while (const auto shot = AttackerBulletPool.Acquire()) {
        shot->Launch(PurpleBulletImage, hunter, 90);
        shots.push_back(shot);
    }
    ASSERT_EQ(shots.size(), 8u);
    shots[2]->Remove();
    // The freed slot is taken again (Acquire returns the same shot, not yet launched).
    ASSERT_EQ(AttackerBulletPool.Acquire(), shots[2]);
    shots[2]->Remove();
    EXPECT_FALSE(AttackerBulletPool.Acquire());
    shots[2]->Discard();
    EXPECT_FALSE(AttackerBulletPool.Acquire());

    const auto tank = TankAt({300, 515});
    std::vector<std::shared_ptr<TankBullet>> shells;
    while (const auto shell = TankBulletPool.Acquire()) {
        shell->Launch(tank, 90);
        shells.push_back(shell);
    }
    ASSERT_EQ(shells.size(), 14u);
    shells[5]->Remove();
    ASSERT_EQ(TankBulletPool.Acquire(), shells[5]);
    shells[5]->Remove();
    EXPECT_FALSE(TankBulletPool.Acquire());

    // Clearing the layer returns the shots in flight, which stay in it.
    BulletsLayer->Clear();
    EXPECT_EQ(InFlight(AttackerBulletPool), 0);
    EXPECT_EQ(InFlight(TankBulletPool), 0);
    EXPECT_EQ(shots[0]->Layer(), BulletsLayer.get());
    EXPECT_TRUE(AttackerBulletPool.Acquire());
}
