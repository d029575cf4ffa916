// The enemies' pooled shots at the edges of the play area and on the
// ground, and tank shells that a second Remove must not free (their launch
// and slots are in shots_test.cpp).
#include <gtest/gtest.h>

#include "kestrum-scenegraph/layer.h"
#include "zandrovia/attackerbullet.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/enemytesting.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/pooledparticle.h"
#include "zandrovia/tank.h"
#include "zandrovia/tankbullet.h"

using enemytesting::InFlight;

namespace {

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

TEST(EnemyShots, ShellsLeaveAtTheViewsEdgesAttackerShotsHalfTheirSizeBeyond) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const float vw = ViewWidth(), vh = ViewHeight();
    const auto shooter = std::make_shared<kestrum::scenegraph::LayerObject>();
    const auto tank = Tank::New(GameLayer.get());
    struct Case {
        bool shell;
        platform::Vec2f at;  // the centre after the move
        bool released;
    };
    // The purple shot is 24 × 12; there is no bottom edge for it (the ground comes first).
    const Case cases[] = {
        {true, {-0.1f, 300}, true},       {true, {0, 300}, false},           {true, {vw + 0.1f, 300}, true},
        {true, {vw, 300}, false},         {true, {300, -0.1f}, true},        {true, {300, 0}, false},
        {true, {300, vh + 0.1f}, true},   {true, {300, vh}, false},          {false, {-12.1f, 300}, true},
        {false, {-11.9f, 300}, false},    {false, {vw + 12.1f, 300}, true}, {false, {vw + 11.9f, 300}, false},
        {false, {300, -6.1f}, true},      {false, {300, -5.9f}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.shell ? "shell at " : "shot at ") << c.at.x << ", " << c.at.y);
        const int particles = ParticleCounts[0];
        std::shared_ptr<kestrum::scenegraph::LayerObject> object;
        if (c.shell) {
            const auto shell = TankBulletPool.Acquire();
            shell->Launch(tank, 90);
            shell->Velocity = {0, -1};
            shell->Location(c.at + platform::Vec2f{0, 1});
            shell->OnUpdate();
            object = shell;
        } else {
            const auto shot = AttackerBulletPool.Acquire();
            shot->Launch(PurpleBulletImage, shooter, 90);
            shot->Velocity = {0, -1};
            shot->Location(c.at + platform::Vec2f{0, 1});
            shot->OnUpdate();
            object = shot;
        }
        EXPECT_EQ(!object->Enabled(), c.released);
        // It stays in its layer, and leaving makes no explosion.
        EXPECT_EQ(object->Layer(), BulletsLayer.get());
        EXPECT_EQ(ParticleCounts[0], particles);
        object->Remove();
    }
    EXPECT_EQ(InFlight(AttackerBulletPool), 0);
    EXPECT_EQ(InFlight(TankBulletPool), 0);
}

TEST(EnemyShots, AnAttackerShotOnTheGroundPuffsDustUnderItOnTheGroundLine) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const float ground = GroundLine();
    const auto shooter = std::make_shared<kestrum::scenegraph::LayerObject>();
    shooter->Location({250, 300});
    const auto shot = AttackerBulletPool.Acquire();
    shot->Launch(PurpleBulletImage, shooter, 90);
    shot->Velocity = {0, 12};  // straight down
    shot->Location({250, ground - shot->Height() / 2 - 11});
    shot->OnUpdate();  // its lower edge 1 below the ground line
    EXPECT_FALSE(shot->Enabled());
    EXPECT_GT(ParticlesAt({250, ground}), 0);
    EXPECT_EQ(ParticleCounts[0], ParticlesAt({250, ground}));
}

TEST(EnemyShots, ASecondRemoveOfAShellCannotFreeItsSlotTakenAgain) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const auto tank = Tank::New(GameLayer.get());
    std::vector<std::shared_ptr<TankBullet>> shells;
    while (const auto shell = TankBulletPool.Acquire()) {
        shell->Launch(tank, 90);
        shells.push_back(shell);
    }
    ASSERT_EQ(shells.size(), 14u);
    shells[5]->Remove();
    ASSERT_EQ(TankBulletPool.Acquire(), shells[5]);
    shells[5]->Launch(tank, 90);
    shells[6]->Remove();
    shells[6]->Remove();
    shells[6]->Discard();
    EXPECT_EQ(TankBulletPool.Acquire(), shells[6]);
    EXPECT_FALSE(TankBulletPool.Acquire());
}
