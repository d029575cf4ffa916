// The spider boss: its schedule, the walk down to the start of a walk
// cycle past the middle of the sky, the transition, the spray from the
// shared shot pool, and its destruction.
#include "zandrovia/spider.h"

#include <gtest/gtest.h>

#include <cmath>

#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "zandrovia/attackerbullet.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/enemytesting.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/pooledparticle.h"
#include "zandrovia/soundscheduler.h"
#include "zandrovia/taskscheduler.h"
#include "zandrovia/trailparticle.h"

using enemytesting::InFlight;
using enemytesting::Labels;
using gamedriver::SoundProbe;

TEST(Spider, WaitsAboveTheTopAtItsOwnScale) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const auto spider = Spider::Top(6000, 397, nullptr);
    EXPECT_FLOAT_EQ(spider->X(), 397);
    EXPECT_FLOAT_EQ(spider->Y(), -spider->Height());
    EXPECT_FLOAT_EQ(spider->Scale, 1);
    EXPECT_FALSE(spider->Enabled());
    EXPECT_EQ(GameScheduler->PendingTime(0), 6000);
    EXPECT_EQ(spider->ScoreSystem->Energy, 125);
    EXPECT_EQ(spider->ScoreSystem->Points, 1250);
    EXPECT_EQ(spider->Frames(), 66);
    EXPECT_EQ(KindOf(spider.get()), ObjectKind::Spider);
    EXPECT_EQ(CountAttackers(GameLayer.get()), 1);
    // Without a warning it arrives silently; with one the warning is scheduled.
    spider->Enabled(true);
    spider->OnUpdate();
    EXPECT_EQ(GameSoundScheduler->Pending(), 0);
    const auto loud = Spider::Top(0, 700, WarningSound);
    loud->Enabled(true);
    loud->OnUpdate();
    EXPECT_EQ(GameSoundScheduler->Pending(), 1);
    EXPECT_FALSE(loud->Warning);
}

TEST(Spider, KeepsWalkingPastTheMiddleUntilItsWalkReturnsToFrameZero) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const float middle = (ViewHeight() - soil->Height()) / 2;
    const auto spider = Spider::New(GameLayer.get());
    spider->Location({500, middle});
    spider->Frame = 9.5f;
    spider->OnUpdate();  // past the middle at walk frame 10
    EXPECT_FLOAT_EQ(spider->Frame, 10);
    EXPECT_EQ(spider->State, 0);
    int updates = 1;
    while (spider->State == 0) {
        spider->OnUpdate();
        ++updates;
        ASSERT_LE(spider->Frame, 23.0f);
    }
    // 10 to 23 in 26 updates, then back to 0 (not 23.5) in the next.
    EXPECT_EQ(updates, 28);
    EXPECT_FLOAT_EQ(spider->Frame, 0);
    EXPECT_FLOAT_EQ(spider->Y(), middle + 28);
    // Settled, it stays put.
    for (int i = 0; i < 100; ++i) spider->OnUpdate();
    EXPECT_FLOAT_EQ(spider->Y(), middle + 28);
}

TEST(Spider, SpraysFromItsCentre84UpdatesAfterSettlingEvery4To6Updates) {
    gamedriver::GameDriver game;
    game.BuildGround();
    SoundProbe shots(Shoot1Sound);
    const auto spider = Spider::New(GameLayer.get());
    spider->Location({500, 300});
    spider->State = 1;
    spider->Frame = 0;  // the update in which it settled
    std::vector<int> fired;
    for (int update = 1; update <= 400; ++update) {
        spider->OnUpdate();
        ASSERT_LE(spider->Frame, 65.5f);
        for (int i = 0; i < AttackerBulletPool.Count; ++i) {
            const auto shot = AttackerBulletPool.Item(i);
            if (!shot->Enabled()) continue;
            fired.push_back(update);
            // From the spider's centre, at 12 per update, with the spider's image.
            EXPECT_EQ(shot->Location(), spider->Location());
            EXPECT_NEAR(std::hypot(shot->Velocity.x, shot->Velocity.y), 12.0f, 1e-3f);
            EXPECT_EQ(shot->Image(), SpiderBulletImage);
            EXPECT_TRUE(spider->Spark->Enabled());
            EXPECT_FLOAT_EQ(spider->Spark->Alpha(), 0.8f);
            shot->Remove();
        }
    }
    ASSERT_GT(fired.size(), 20u);
    EXPECT_EQ(fired[0], 84);
    for (std::size_t i = 1; i < fired.size(); ++i) {
        EXPECT_GE(fired[i] - fired[i - 1], 4);
        EXPECT_LE(fired[i] - fired[i - 1], 6);
    }
    EXPECT_EQ(shots.Plays(), static_cast<int>(fired.size()));

    // With every shot in flight a spray step fires nothing and draws its next countdown.
    std::vector<std::shared_ptr<AttackerBullet>> taken;
    while (const auto shot = AttackerBulletPool.Acquire()) taken.push_back(shot);
    spider->FireCountdown = 0;
    spider->Frame = 50;
    spider->OnUpdate();
    EXPECT_EQ(shots.Plays(), static_cast<int>(fired.size()));
    EXPECT_GE(spider->FireCountdown, 3);
    EXPECT_LE(spider->FireCountdown, 5);
}

TEST(Spider, DiesWithSixteenTrailsABudgetedExplosionAndItsPoints) {
    gamedriver::GameDriver game;
    game.BuildGround();
    SoundProbe booms(Explosion1Sound);
    const auto spider = Spider::New(GameLayer.get());
    spider->Location({600.6f, 250.2f});
    spider->OnOutro(nullptr);
    spider->Remove();
    EXPECT_EQ(InFlight(TrailPool), 16);
    EXPECT_GT(ParticleCounts[5], 0);
    EXPECT_LE(ParticleCounts[5], 32);
    EXPECT_EQ(booms.Plays(), 1);
    EXPECT_EQ(Labels(*FrontLayer), std::vector<std::string>{"1250+"});
    EXPECT_EQ(spider->Layer(), nullptr);
    EXPECT_EQ(spider->Spark->Layer(), nullptr);
    EXPECT_EQ(CountAttackers(GameLayer.get()), 0);
}
