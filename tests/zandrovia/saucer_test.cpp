// The saucer boss: its schedule and warning, the descent, the beam that
// switches on in the middle of the sky and turns, the ground glow, and its
// destruction with beam and glows.
#include "zandrovia/saucer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
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

namespace {

constexpr double Pi = std::numbers::pi;

// A saucer in play at x, its centre at y.
std::shared_ptr<Saucer> SaucerAt(float x, float y) {
    const auto saucer = Saucer::New(GameLayer.get());
    saucer->Location({x, y});
    return saucer;
}

}  // namespace

TEST(Saucer, WaitsItsDelayAboveTheTopAndWarnsFiveTimes1250MsApart) {
    gamedriver::GameDriver game;
    game.HoldPlay = true;
    game.BuildGround();
    const auto saucer = Saucer::Top(500, 568, WarningSound);
    EXPECT_FLOAT_EQ(saucer->X(), 568);
    EXPECT_FLOAT_EQ(saucer->Y(), -saucer->Height());
    EXPECT_FLOAT_EQ(saucer->Scale, SaucerScale);
    EXPECT_FALSE(saucer->Enabled());
    ASSERT_EQ(GameScheduler->Pending(), 1);
    EXPECT_EQ(GameScheduler->PendingTime(0), 500);
    EXPECT_EQ(CountAttackers(GameLayer.get()), 1);
    EXPECT_EQ(saucer->ScoreSystem->Energy, 150);
    EXPECT_EQ(saucer->ScoreSystem->Points, 1500);
    EXPECT_FALSE(saucer->Laser->Enabled());
    EXPECT_TRUE(saucer->Laser->CollisionWrite());
    EXPECT_EQ(KindOf(saucer->Laser.get()), ObjectKind::SaucerLaser);

    std::vector<std::int64_t> plays;
    std::int64_t started = -1;
    while (game.Now() < 500 + 6500) {
        const platform::Channel* before = GameSoundScheduler->LastChannel().get();
        game.Frame();
        if (started < 0 && saucer->Enabled()) {
            started = game.Now();
            EXPECT_FALSE(saucer->Warning);
            EXPECT_FLOAT_EQ(saucer->Y(), -saucer->Height() + 1);
        }
        if (GameSoundScheduler->LastChannel().get() != before) plays.push_back(game.Now());
    }
    EXPECT_GT(started, 500);
    EXPECT_LE(started, 517);
    ASSERT_EQ(plays.size(), 5u);
    // The first in the frame after it started (the sound scheduler runs
    // before the scene); then 1250 ms apart, to the next frame.
    EXPECT_LE(plays[0] - started, 17);
    for (std::size_t i = 1; i < plays.size(); ++i) {
        EXPECT_GE(plays[i] - plays[i - 1], 1250);
        EXPECT_LE(plays[i] - plays[i - 1], 1250 + 17);
    }
}

TEST(Saucer, AWarningOnlyWhenAskedAndOnlyWithAWarningSound) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const auto quiet = SaucerAt(300, -100);
    quiet->OnUpdate();
    EXPECT_EQ(GameSoundScheduler->Pending(), 0);

    // The sound given only decides whether the warning comes.
    SoundProbe other(Shoot1Sound);
    const auto loud = SaucerAt(300, -100);
    loud->Warning = Shoot1Sound;
    loud->OnUpdate();
    loud->OnUpdate();
    EXPECT_EQ(GameSoundScheduler->Pending(), 1);

    // Without a warning sound nothing is scheduled.
    const platform::SoundPtr saved = WarningSound;
    WarningSound = nullptr;
    GameSoundScheduler->Clear();
    const auto mute = SaucerAt(300, -100);
    mute->Warning = saved;
    mute->OnUpdate();
    EXPECT_EQ(GameSoundScheduler->Pending(), 0);
    EXPECT_FALSE(mute->Warning);
    WarningSound = saved;
}

TEST(Saucer, TheBeamSwitchesOnWhenTheCentrePassesTheMiddleOfTheSky) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const float middle = (ViewHeight() - soil->Height()) / 2;
    const float ground = GroundLine();
    const auto saucer = SaucerAt(400, middle - 1);
    const double down = static_cast<double>(2.0f * std::numbers::pi_v<float> * 0.25f);
    EXPECT_EQ(saucer->BeamAngle, down);
    saucer->OnUpdate();
    EXPECT_FLOAT_EQ(saucer->Y(), middle);
    EXPECT_FALSE(saucer->Laser->Enabled());
    EXPECT_FALSE(saucer->Glows[0]->Enabled());
    EXPECT_FLOAT_EQ(saucer->Frame, 0.5f);

    saucer->OnUpdate();
    EXPECT_FLOAT_EQ(saucer->Y(), middle + 1);
    EXPECT_TRUE(saucer->Laser->Enabled());
    EXPECT_TRUE(saucer->Glows[0]->Enabled());
    // Placed straight down in that update, the angle one step on.
    const float length = static_cast<float>(LaserRedImage->Width());
    EXPECT_EQ(saucer->Laser->Location(), (platform::Vec2f{400, middle + 1 - 38}));
    EXPECT_NEAR(saucer->Laser->X2(), 400, 1e-3f);
    EXPECT_FLOAT_EQ(saucer->Laser->Y2(), middle + 1 + length);
    EXPECT_EQ(saucer->Glows[0]->Location(), saucer->Laser->Location());
    EXPECT_DOUBLE_EQ(saucer->BeamAngle, down + 0.025);
    // Long enough to reach the ground: the ground glow sits below the saucer.
    EXPECT_TRUE(saucer->Glows[1]->Enabled());
    EXPECT_NEAR(saucer->Glows[1]->X(), 400, 1e-2f);
    EXPECT_FLOAT_EQ(saucer->Glows[1]->Y(), ground);

    // From then on it stays put and the beam turns clockwise.
    for (int i = 0; i < 10; ++i) saucer->OnUpdate();
    EXPECT_FLOAT_EQ(saucer->Y(), middle + 1);
    EXPECT_NEAR(saucer->BeamAngle, down + 11 * 0.025, 1e-9);
    EXPECT_LT(saucer->Laser->X2(), 400);  // past straight down, toward the left

    // Pointing up there is no ground glow.
    saucer->BeamAngle = -Pi / 2;
    saucer->OnUpdate();
    EXPECT_FALSE(saucer->Glows[1]->Enabled());
    EXPECT_LT(saucer->Laser->Y2(), saucer->Y());
}

TEST(Saucer, DestroyedWhileDescendingItTakesItsBeamAndGlowsAlong) {
    gamedriver::GameDriver game;
    game.BuildGround();
    SoundProbe booms(Explosion1Sound);
    const auto saucer = SaucerAt(500, 100);
    saucer->OnUpdate();
    ASSERT_FALSE(saucer->Laser->Enabled());
    saucer->OnOutro(nullptr);
    saucer->Remove();
    EXPECT_EQ(saucer->Layer(), nullptr);
    EXPECT_EQ(saucer->Laser->Layer(), nullptr);
    EXPECT_EQ(saucer->Glows[0]->Layer(), nullptr);
    EXPECT_EQ(saucer->Glows[1]->Layer(), nullptr);
    EXPECT_EQ(Labels(*FrontLayer), std::vector<std::string>{"1500+"});
    EXPECT_EQ(booms.Plays(), 1);
    EXPECT_EQ(InFlight(TrailPool), 0);
    EXPECT_GT(ParticleCounts[0], 0);
    EXPECT_EQ(CountAttackers(GameLayer.get()), 0);
}

TEST(Saucer, WithoutABeamImageItStopsInTheSkyWithoutBeamOrGlows) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const platform::ImagePtr saved = LaserRedImage;
    LaserRedImage = nullptr;
    const float middle = (ViewHeight() - soil->Height()) / 2;
    const auto saucer = SaucerAt(400, middle - 1);
    for (int i = 0; i < 50; ++i) saucer->OnUpdate();
    EXPECT_TRUE(saucer->Sweeping());
    EXPECT_FLOAT_EQ(saucer->Y(), middle + 1);
    EXPECT_FALSE(saucer->Laser->Enabled());
    EXPECT_FALSE(saucer->Glows[0]->Enabled());
    EXPECT_FALSE(saucer->Glows[1]->Enabled());
    // Drawing it draws no stray line.
    const auto pixels = game.Render();
    EXPECT_TRUE(pixels);
    LaserRedImage = saved;
}
