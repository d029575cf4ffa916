// Tanks: the turret's aim, shells from the drawn muzzle, drive timing,
// smoke, the wrap at the edges, firing only while play is on, and the
// pick-ups that destroyed tanks drop.
#include "zandrovia/tank.h"

#include <gtest/gtest.h>

#include <cmath>

#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/enemytesting.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/pickup.h"
#include "zandrovia/player.h"
#include "zandrovia/pooledparticle.h"
#include "zandrovia/tankbullet.h"
#include "zandrovia/textmessage.h"

using enemytesting::InFlight;
using enemytesting::Labels;
using enemytesting::OfKind;
using gamedriver::SoundProbe;

namespace {

// A tank on the soil at x that keeps standing (a long drive at speed 0).
std::shared_ptr<Tank> Parked(float x) {
    const auto tank = Tank::New(GameLayer.get());
    tank->X(x);
    tank->Y(soil->Y() - (soil->Height() + tank->Height()) * 0.5f);
    tank->DriveState = 1;
    tank->DriveTimer = 100000;
    tank->Speed = 0;
    return tank;
}

}  // namespace

TEST(Tank, IsBuiltWithItsMembersCentredAndRestsOnTheSoil) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const auto tank = Parked(300);
    EXPECT_EQ(tank->Layer(), GameLayer.get());
    EXPECT_EQ(tank->ScoreSystem->Energy, 10);
    EXPECT_EQ(tank->ScoreSystem->Points, 100);
    EXPECT_TRUE(tank->CollisionWrite());
    EXPECT_GE(tank->FireCountdown, 60);
    EXPECT_LT(tank->FireCountdown, 120);
    EXPECT_FLOAT_EQ(tank->Width(), tank->Wheels->Width() * TankScale);
    EXPECT_FLOAT_EQ(tank->Height(), tank->Wheels->Height() * TankScale);
    // Turret first, then wheels, then the spark.
    ASSERT_EQ(tank->Members.Length(), 3);
    EXPECT_EQ(tank->Members[0], tank->Turret);
    EXPECT_EQ(tank->Members[1], tank->Wheels);
    EXPECT_EQ(tank->Members[2], tank->Spark);
    EXPECT_FALSE(tank->Spark->Enabled());
    // Drawn where it collides: the wheels on its centre, the turret 8 below.
    EXPECT_FLOAT_EQ(tank->Wheels->WorldX(), tank->X());
    EXPECT_FLOAT_EQ(tank->Wheels->WorldY(), tank->Y());
    EXPECT_FLOAT_EQ(tank->Turret->WorldX(), tank->X());
    EXPECT_FLOAT_EQ(tank->Turret->WorldY(), tank->Y() + 8);
    EXPECT_FLOAT_EQ(tank->Y() + tank->Height() / 2, GroundLine());
}

TEST(Tank, TheTurretFrameFollowsTheAngle) {
    gamedriver::GameDriver game;
    const auto tank = Tank::New(GameLayer.get());
    ASSERT_EQ(tank->Turret->Frames(), 36);
    struct Case {
        float angle;
        int frame;
    };
    const Case cases[] = {{90, 17}, {0, 35}, {4.9f, 35}, {5, 34}, {45, 26}, {94.9f, 17}, {95, 16}, {135, 8},
                          {175, 0}, {179, 0}};
    for (const Case& c : cases) EXPECT_EQ(tank->TurretFrame(c.angle), c.frame) << c.angle;
}

TEST(Tank, AimsOnlyAtTargetsAboveTheTurret) {
    gamedriver::GameDriver game;
    game.BuildGround();
    game.StartPlay();
    const auto ship = game.AddShip(10);
    const auto tank = Parked(500);
    const float turretY = tank->Y() + 8;
    struct Case {
        const char* where;
        platform::Vec2f ship;
        float frame;     // the turret's frame afterwards
        bool countdown;  // the fire countdown ran
    };
    const Case cases[] = {
        {"straight above", {500, 100}, 17, true},
        {"level on the left", {200, turretY}, 35, true},
        {"below", {700, turretY + 20}, 5, false},
        {"nearly level on the right", {800, turretY - 0.5f}, 5, false},
        {"above on the right", {800, turretY - 300}, 8, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        ship->Location(c.ship);
        tank->Turret->Frame = 5;
        tank->FireCountdown = 50;
        tank->OnUpdate();
        EXPECT_FLOAT_EQ(tank->Turret->Frame, c.frame);
        EXPECT_EQ(tank->FireCountdown, c.countdown ? 49 : 50);
    }
    // Without a current ship it aims at the middle of the view.
    CurrentPlayer = nullptr;
    tank->X(ViewWidth() / 2);
    tank->OnUpdate();
    EXPECT_FLOAT_EQ(tank->Turret->Frame, 17);
}

TEST(Tank, ShellsAndTheSparkStartAtTheMuzzleOfTheTurretsFrame) {
    gamedriver::GameDriver game;
    game.BuildGround();
    game.StartPlay();
    SoundProbe shots(Shoot1Sound);
    const auto ship = game.AddShip(10);
    const auto tank = Parked(ship->X());
    tank->FireCountdown = 0;
    tank->OnUpdate();
    ASSERT_FLOAT_EQ(tank->Turret->Frame, 17);
    ASSERT_EQ(InFlight(TankBulletPool), 1);
    const auto shell = TankBulletPool.Item(0);
    EXPECT_EQ(shell->Location(), (tank->Location() + platform::Vec2f{0, -23}));
    EXPECT_NEAR(shell->Velocity.x, 0, 1e-5f);
    EXPECT_FLOAT_EQ(shell->Velocity.y, -8);
    EXPECT_EQ(shots.Plays(), 1);
    EXPECT_GE(tank->FireCountdown, 60);
    EXPECT_LT(tank->FireCountdown, 120);
    // The spark is lit where the shell started and fades by 0.1.
    EXPECT_TRUE(tank->Spark->Enabled());
    EXPECT_FLOAT_EQ(tank->Spark->Alpha(), 0.9f);
    EXPECT_FLOAT_EQ(tank->Spark->WorldX(), shell->X());
    EXPECT_FLOAT_EQ(tank->Spark->WorldY(), shell->Y());

    // Level on the left: frame 35, muzzle (-45, 5).
    ship->Location({tank->X() - 300, tank->Y() + 8});
    tank->FireCountdown = 0;
    tank->OnUpdate();
    ASSERT_EQ(InFlight(TankBulletPool), 2);
    EXPECT_EQ(TankBulletPool.Item(1)->Location(), (tank->Location() + platform::Vec2f{-45, 5}));
    EXPECT_FLOAT_EQ(tank->Spark->WorldX(), tank->X() - 45);
    EXPECT_FLOAT_EQ(tank->Spark->WorldY(), tank->Y() + 5);
}

TEST(Tank, TheCountdownIsNotRoundedAndRunsOnlyWhilePlayIsOn) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const auto ship = game.AddShip(10);
    struct Case {
        double countdown;
        int fires;  // in this counted update
    };
    const Case cases[] = {{0, 1}, {0.5, 1}, {1, 2}, {60.4, 61}};
    game.StartPlay();
    for (const Case& c : cases) {
        const auto tank = Parked(ship->X());
        tank->FireCountdown = c.countdown;
        int fired = 0;
        for (int update = 1; update <= 100 && fired == 0; ++update) {
            const int before = InFlight(TankBulletPool);
            tank->OnUpdate();
            if (InFlight(TankBulletPool) > before) fired = update;
        }
        EXPECT_EQ(fired, c.fires) << c.countdown;
        tank->Remove();
    }

    // While the level banner still shows, the turret aims but nothing counts down.
    LevelBanner->Alpha(0.5f);
    ASSERT_FALSE(GameOn());
    const auto waiting = Parked(ship->X() + 100);
    waiting->FireCountdown = 0;
    waiting->Turret->Frame = 0;
    for (int i = 0; i < 10; ++i) waiting->OnUpdate();
    EXPECT_EQ(waiting->FireCountdown, 0);
    EXPECT_GT(waiting->Turret->Frame, 0);
}

TEST(Tank, AnEmptyShellPoolSkipsTheShotSilently) {
    gamedriver::GameDriver game;
    game.BuildGround();
    game.StartPlay();
    const auto ship = game.AddShip(10);
    SoundProbe shots(Shoot1Sound);
    while (TankBulletPool.Acquire()) {
    }
    const auto tank = Parked(ship->X());
    tank->FireCountdown = 0;
    tank->OnUpdate();
    EXPECT_EQ(shots.Plays(), 0);
    EXPECT_FALSE(tank->Spark->Enabled());
    EXPECT_GE(tank->FireCountdown, 60);
}

TEST(Tank, ADriveLastsItsTimerPlusOneUpdate) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const auto tank = Tank::New(GameLayer.get());
    tank->Location({500, 515});
    ASSERT_EQ(tank->DriveState, 0);
    for (int drive = 0; drive < 5; ++drive) {
        const float x = tank->X();
        tank->OnUpdate();  // chooses the drive and counts its first update
        ASSERT_EQ(tank->DriveState, 1);
        const int timer = tank->DriveTimer + 1;
        EXPECT_GE(timer, 100);
        EXPECT_LT(timer, 200);
        const float speed = tank->Speed / 0.99f;
        EXPECT_LE(std::abs(speed), 8.0f);
        EXPECT_NEAR(tank->X(), x + speed, 1e-3f);
        int updates = 1;
        while (tank->DriveState == 1) {
            tank->OnUpdate();
            ++updates;
        }
        EXPECT_EQ(updates, timer + 1);
        tank->X(500);
    }
}

TEST(Tank, SmokesOnlyWhileDrivingFastWhollyInsideTheView) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const float vw = ViewWidth();
    const auto probe = Tank::New(GameLayer.get());
    const float half = probe->Width() / 2;
    probe->Remove();
    struct Case {
        float x, speed;  // x after the move
        bool smoke;
    };
    const Case cases[] = {
        {500, 3, true},         {500, -1.5f, true},     {500, 0.9f, false},     {500, -1, false},
        {half, -3, false},      {half + 0.5f, -3, true}, {vw - half, 3, false}, {vw - half - 0.5f, 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "x " << c.x << " speed " << c.speed);
        EffectsLayer->Clear();  // every particle back in the pool
        const auto tank = Parked(c.x - c.speed);
        tank->Speed = c.speed;
        const int puffs = ParticleCounts[2];
        tank->OnUpdate();
        EXPECT_EQ(ParticleCounts[2] > puffs, c.smoke);
        EXPECT_EQ(tank->DustSide, c.smoke ? -26 : 26);
        EXPECT_FLOAT_EQ(tank->Speed, c.speed * 0.99f);
        tank->Remove();
    }
    // Puffs alternate 26 to the right and to the left, 45 below the centre.
    EffectsLayer->Clear();
    const auto tank = Parked(500);
    tank->Speed = 4;
    tank->OnUpdate();
    const float x1 = tank->X(), y = tank->Y();
    tank->OnUpdate();
    const float x2 = tank->X();
    int right = 0, left = 0;
    for (int i = 0; i < ParticlePool.Count; ++i) {
        const auto p = ParticlePool.Item(i);
        if (!p->Enabled()) continue;
        right += p->Location() == platform::Vec2f{x1 + 26, y + 45};
        left += p->Location() == platform::Vec2f{x2 - 26, y + 45};
    }
    EXPECT_GT(right, 0);
    EXPECT_GT(left, 0);
}

TEST(Tank, WrapsAroundAtHalfItsWidthBeyondEitherEdge) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const float vw = ViewWidth();
    const auto tank = Parked(0);
    const float half = tank->Width() / 2;
    tank->X(-half + 1);
    tank->Speed = -1.5f;
    tank->OnUpdate();
    EXPECT_FLOAT_EQ(tank->X(), vw + half);
    tank->Speed = 1.5f;
    tank->OnUpdate();
    EXPECT_FLOAT_EQ(tank->X(), -half);
}

TEST(Tank, DestroyedTanksDropTheLevelsPickupsInOrder) {
    gamedriver::GameDriver game;
    game.BuildGround();
    SoundProbe booms(Explosion1Sound);
    LevelPickups = {PowerUpPickupFrames, nullptr, TrackerPickupFrames};
    const PickupKind expected[] = {PickupKind::PowerUp, PickupKind::None, PickupKind::Tracker, PickupKind::None};
    int drops = 0;
    for (int n = 0; n < 4; ++n) {
        SCOPED_TRACE(n);
        const auto tank = Parked(200.0f + 200 * n);
        tank->OnOutro(nullptr);
        tank->Remove();
        const auto pickups = OfKind(*GameLayer, ObjectKind::Pickup);
        if (expected[n] != PickupKind::None) {
            ASSERT_EQ(static_cast<int>(pickups.size()), ++drops);
            const auto pickup = std::dynamic_pointer_cast<Pickup>(pickups.back());
            EXPECT_EQ(pickup->Kind(), expected[n]);
            EXPECT_EQ(pickup->Location(), tank->Location());
        }
        EXPECT_EQ(static_cast<int>(pickups.size()), drops);
        EXPECT_EQ(TanksDestroyed, std::min(n + 1, 3));
        EXPECT_EQ(tank->Layer(), nullptr);
        EXPECT_EQ(Labels(*FrontLayer).back(), "100+");
    }
    EXPECT_EQ(booms.Plays(), 4);
    // The explosions stay under their budget.
    EXPECT_GT(ParticleCounts[5], 0);
    EXPECT_LE(ParticleCounts[5], 32);

    // Without a list nothing drops and nothing is counted; a nuked tank counts neither.
    LevelPickups.clear();
    TanksDestroyed = 0;
    Parked(300)->OnOutro(nullptr);
    EXPECT_EQ(TanksDestroyed, 0);
    LevelPickups = {PowerUpPickupFrames};
    Parked(400);
    Nuke();
    EXPECT_EQ(TanksDestroyed, 0);
    EXPECT_TRUE(OfKind(*GameLayer, ObjectKind::Tank).empty());
}
