// Attackers and their wave spawners, in the real game world of the driver:
// the waves' kinds, places and start times, the glides, the wrap at the
// edges, hunter fire, the shared pool of attacker shots, and the ends of an
// attacker (destroyed or crashed).
#include "zandrovia/attacker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "kestrum-framework/taskmanager.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "zandrovia/attackerbullet.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/enemytesting.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/player.h"
#include "zandrovia/pooledparticle.h"
#include "zandrovia/spider.h"
#include "zandrovia/taskscheduler.h"
#include "zandrovia/trailparticle.h"

using enemytesting::InFlight;
using enemytesting::Labels;
using enemytesting::OfKind;
using gamedriver::SoundProbe;

namespace {

std::shared_ptr<Attacker> Scheduled(int index) {
    return std::dynamic_pointer_cast<Attacker>(GameScheduler->PendingTask(index));
}

// An enabled attacker of the kind's frames at the place, standing still.
std::shared_ptr<Attacker> Standing(const ImageArray& frames, platform::Vec2f at) {
    const auto a = Attacker::New(GameLayer.get(), frames, frames, 5, 50);
    a->Location(at);
    return a;
}

struct Wave {
    const char* name;
    std::function<void(int delay, int spacing)> spawn;
    int count;
    bool fromLeft;
    const ImageArray* frames;
    int energy, points;
    float explosion, animSpeed;
    bool armed, cargo;
};

}  // namespace

TEST(Attacker, SpawnersBuildTheirWavesWaitingJustOutsideTheViewHeadingForTheMiddle) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const std::vector<Wave> waves = {
        {"SawcersLeft", Attacker::SawcersLeft, 8, true, &SawcerFrames, 3, 30, 0.5f, 0.5f, false, false},
        {"SawcersRight", Attacker::SawcersRight, 8, false, &SawcerFrames, 3, 30, 0.5f, 0.5f, false, false},
        {"HuntersLeft", Attacker::HuntersLeft, 8, true, &HunterFrames, 5, 50, 0.5f, 0.5f, true, false},
        {"HuntersRight", Attacker::HuntersRight, 8, false, &HunterFrames, 5, 50, 0.5f, 0.5f, true, false},
        {"CargoLeft", [](int d, int s) { Attacker::CargoLeft(3, d, s); }, 3, true, &CargoFrames, 10, 100, 1.0f, 0.2f,
         false, true},
        {"CargoRight", [](int d, int s) { Attacker::CargoRight(3, d, s); }, 3, false, &CargoFrames, 10, 100, 1.0f,
         0.2f, false, true},
    };
    const float vw = ViewWidth();
    for (const Wave& wave : waves) {
        SCOPED_TRACE(wave.name);
        GameScheduler->Clear();
        wave.spawn(20000, 500);
        ASSERT_EQ(GameScheduler->Pending(), wave.count);
        for (int n = 0; n < wave.count; ++n) {
            const auto a = Scheduled(n);
            ASSERT_TRUE(a) << n;
            EXPECT_EQ(GameScheduler->PendingTime(n), 20000 + n * 500);
            EXPECT_FALSE(a->Enabled());
            EXPECT_EQ(a->Layer(), GameLayer.get());
            EXPECT_EQ(a->Images(), *wave.frames);
            EXPECT_EQ(a->ScoreSystem->Energy, wave.energy);
            EXPECT_EQ(a->ScoreSystem->Points, wave.points);
            EXPECT_FLOAT_EQ(a->ExplosionSize, wave.explosion);
            EXPECT_FLOAT_EQ(a->AnimSpeed, wave.animSpeed);
            EXPECT_EQ(a->Armed, wave.armed);
            EXPECT_EQ(a->Cargo, wave.cargo);
            EXPECT_TRUE(a->CollisionWrite());
            EXPECT_FALSE(a->Spark->Enabled());
            EXPECT_EQ(KindOf(a.get()), ObjectKind::Attacker);
            // Just outside the view, at a height between 336 and 400.
            EXPECT_FLOAT_EQ(a->X(), wave.fromLeft ? -a->Width() / 2 : vw + a->Width() / 2);
            EXPECT_GE(a->Y(), 336.0f);
            EXPECT_LE(a->Y(), 400.0f);
            // Pushed 2 to 6 per axis toward the middle.
            EXPECT_EQ(a->Mode, 1);
            EXPECT_EQ(a->Velocity.x > 0, wave.fromLeft);
            EXPECT_LE(std::abs(a->Velocity.x), 6.0f);
            EXPECT_LE(std::abs(a->Velocity.y), 6.0f);
            EXPECT_GT(std::hypot(a->Velocity.x, a->Velocity.y), 1.0f);
        }
    }
    // Waiting attackers keep the level open.
    EXPECT_EQ(CountAttackers(GameLayer.get()), 8 * 4 + 3 * 2);
}

TEST(Attacker, CargoWavesOfNoShipsOrOneTime) {
    gamedriver::GameDriver game;
    game.BuildGround();
    Attacker::CargoLeft(0, 1000, 500);
    Attacker::CargoRight(-2, 1000, 500);
    EXPECT_EQ(GameScheduler->Pending(), 0);
    Attacker::CargoLeft(3, 1000, 0);
    ASSERT_EQ(GameScheduler->Pending(), 3);
    for (int n = 0; n < 3; ++n) EXPECT_EQ(GameScheduler->PendingTime(n), 1000);
}

TEST(Attacker, AWaveComesIntoPlayAtDelayPlusSpacingTimesItsNumber) {
    gamedriver::GameDriver game;
    game.HoldPlay = true;
    game.BuildGround();
    Attacker::SawcersRight(200, 500);
    std::vector<std::shared_ptr<Attacker>> wave;
    for (int n = 0; n < 8; ++n) wave.push_back(Scheduled(n));
    std::vector<std::int64_t> started(8, -1);
    while (game.Now() < 4000) {
        game.Frame();
        for (int n = 0; n < 8; ++n) {
            if (started[n] < 0 && wave[n]->Enabled()) started[n] = game.Now();
        }
    }
    for (int n = 0; n < 8; ++n) {
        // The first frame after its time (frames are 1000/60 ms apart).
        EXPECT_GT(started[n], 200 + n * 500) << n;
        EXPECT_LE(started[n], 200 + n * 500 + 17) << n;
    }
}

TEST(Attacker, AGlideEndsOnlyWhenBothSpeedsAreBelowTheStopSpeed) {
    gamedriver::GameDriver game;
    game.BuildGround();
    struct Case {
        platform::Vec2f velocity;
        int mode;
    };
    const Case cases[] = {
        {{0.4f, 0.4f}, 0}, {{-0.49f, 0.3f}, 0}, {{0.4f, 0.6f}, 1}, {{0.5f, 0}, 1}, {{0, -0.5f}, 1}, {{2, 2}, 1},
    };
    for (const Case& c : cases) {
        const auto a = Standing(SawcerFrames, {500, 200});
        a->Mode = 1;
        a->Velocity = c.velocity;
        a->OnUpdate();
        EXPECT_EQ(a->Mode, c.mode) << c.velocity.x << ", " << c.velocity.y;
        // Moved by the velocity, then slowed by 1%.
        EXPECT_FLOAT_EQ(a->X(), 500 + c.velocity.x);
        EXPECT_FLOAT_EQ(a->Velocity.x, c.velocity.x * 0.99f);
        if (c.mode == 0) {
            // The new glide's push of 3 toward a random point comes in the next update.
            const platform::Vec2f before = a->Velocity;
            a->OnUpdate();
            EXPECT_EQ(a->Mode, 1);
            const platform::Vec2f push = a->Velocity * (1 / 0.99f) - before;
            EXPECT_NEAR(std::hypot(push.x, push.y), 3.0f, 1e-3f);
        }
        a->Remove();
    }
}

TEST(Attacker, WrapsAroundTheSideEdgesAsymmetrically) {
    gamedriver::GameDriver game;
    game.BuildGround();
    const float vw = ViewWidth();
    const auto probe = Standing(SawcerFrames, {0, 0});
    const float w = probe->Width();
    ASSERT_GT(w, 0);
    struct Case {
        float x, expected;
    };
    const Case cases[] = {
        {-w - 0.5f, vw}, {-w + 0.5f, -w + 0.5f}, {vw + w + 0.5f, 0}, {vw + w - 0.5f, vw + w - 0.5f}, {300, 300},
    };
    for (const Case& c : cases) {
        const auto a = Standing(SawcerFrames, {c.x, 200});
        a->Mode = 1;  // ends its glide: no new push in this update
        a->Velocity = {0, 0};
        a->OnUpdate();
        EXPECT_FLOAT_EQ(a->X(), c.expected) << c.x;
    }
}

TEST(Attacker, AHunterFiresAtTheCurrentShipInItsSixtyFirstUpdateThenEvery101To150) {
    gamedriver::GameDriver game;
    game.BuildGround();
    SoundProbe shots(Shoot1Sound);
    const auto hunter = Standing(HunterFrames, {200, 300});
    hunter->Armed = true;
    hunter->Enabled(true);

    // Without a current ship it neither fires nor counts down.
    for (int i = 0; i < 200; ++i) {
        hunter->Velocity = {1, 0};  // keeps gliding, never drifts far
        hunter->Location({200, 300});
        hunter->OnUpdate();
    }
    EXPECT_EQ(hunter->FireCountdown, 60);
    EXPECT_EQ(InFlight(AttackerBulletPool), 0);
    EXPECT_EQ(shots.Plays(), 0);

    const auto ship = game.AddShip(10);
    ASSERT_EQ(CurrentPlayer, ship);
    std::vector<int> fired;
    for (int update = 1; update <= 700 && fired.size() < 5; ++update) {
        hunter->Velocity = {1, 0};
        hunter->Location({200, 300});
        const int before = InFlight(AttackerBulletPool);
        hunter->OnUpdate();
        if (InFlight(AttackerBulletPool) > before) fired.push_back(update);
    }
    ASSERT_EQ(fired.size(), 5u);
    EXPECT_EQ(fired[0], 61);
    for (std::size_t i = 1; i < fired.size(); ++i) {
        EXPECT_GE(fired[i] - fired[i - 1], 101);
        EXPECT_LE(fired[i] - fired[i - 1], 150);
    }
    EXPECT_EQ(shots.Plays(), 5);

    // Each shot starts half its length ahead of the hunter and flies at the ship.
    const std::shared_ptr<AttackerBullet> shot = AttackerBulletPool.Item(0);
    ASSERT_TRUE(shot->Enabled());
    const platform::Vec2f from{201, 300};  // the hunter after its move in that update
    const platform::Vec2f toShip = ship->Location() - from;
    const float distance = std::hypot(toShip.x, toShip.y);
    EXPECT_NEAR(std::hypot(shot->Velocity.x, shot->Velocity.y), 12.0f, 1e-3f);
    EXPECT_NEAR(shot->Velocity.x, toShip.x / distance * 12, 1e-3f);
    EXPECT_NEAR(shot->Velocity.y, toShip.y / distance * 12, 1e-3f);
    EXPECT_NEAR(shot->X(), from.x + toShip.x / distance * 12, 1e-3f);
    EXPECT_NEAR(shot->Y(), from.y + toShip.y / distance * 12, 1e-3f);
    EXPECT_EQ(shot->Image(), PurpleBulletImage);
    EXPECT_EQ(shot->Owner, hunter);
}

TEST(Attacker, AHunterWithAnEmptyPoolStillSoundsButLightsNoSpark) {
    gamedriver::GameDriver game;
    game.BuildGround();
    game.AddShip(10);
    SoundProbe shots(Shoot1Sound);
    while (AttackerBulletPool.Acquire()) {
    }
    const auto hunter = Standing(HunterFrames, {200, 300});
    hunter->Armed = true;
    hunter->FireCountdown = 0;
    hunter->Velocity = {1, 0};
    hunter->OnUpdate();
    EXPECT_EQ(shots.Plays(), 1);
    EXPECT_FALSE(hunter->Spark->Enabled());
    EXPECT_GE(hunter->FireCountdown, 100);
    EXPECT_LT(hunter->FireCountdown, 150);

    // With a free shot the spark lights on the hunter and fades by 0.2.
    AttackerBulletPool.Release(3);
    hunter->FireCountdown = 0;
    hunter->OnUpdate();
    EXPECT_EQ(shots.Plays(), 2);
    EXPECT_TRUE(hunter->Spark->Enabled());
    EXPECT_FLOAT_EQ(hunter->Spark->Alpha(), 0.8f);
    EXPECT_EQ(hunter->Spark->Location(), hunter->Location());
    for (int i = 0; i < 4; ++i) hunter->OnUpdate();
    EXPECT_TRUE(hunter->Spark->Enabled());
    hunter->OnUpdate();
    EXPECT_FALSE(hunter->Spark->Enabled());
}

TEST(Attacker, SpidersAndHuntersTogetherNeverHaveMoreThanEightShotsInFlight) {
    gamedriver::GameDriver game;
    game.BuildGround();
    game.AddShip(10);
    std::vector<std::shared_ptr<Attacker>> hunters;
    for (int i = 0; i < 8; ++i) {
        hunters.push_back(Standing(HunterFrames, {100.0f + 100 * i, 380}));
        hunters.back()->Armed = true;
        hunters.back()->FireCountdown = i * 7;
    }
    std::vector<std::shared_ptr<Spider>> spiders;
    for (float x : {300.0f, 800.0f}) {
        spiders.push_back(Spider::New(GameLayer.get()));
        spiders.back()->Location({x, 200});
        spiders.back()->State = 1;
        spiders.back()->Frame = 42;
    }
    int most = 0;
    for (int update = 0; update < 600; ++update) {
        for (const auto& h : hunters) {
            h->Velocity = {1, 0};
            h->X(h->X() - 1);
            h->OnUpdate();
        }
        for (const auto& s : spiders) s->OnUpdate();
        for (int i = 0; i < AttackerBulletPool.Count; ++i) {
            if (AttackerBulletPool.Item(i)->Enabled()) AttackerBulletPool.Item(i)->OnUpdate();
        }
        most = std::max(most, InFlight(AttackerBulletPool));
        ASSERT_LE(InFlight(AttackerBulletPool), 8);
    }
    EXPECT_EQ(most, 8);
}

TEST(Attacker, ADestroyedCargoShipReleasesOneManAndShowsItsPoints) {
    gamedriver::GameDriver game;
    game.BuildGround();
    SoundProbe booms(Explosion1Sound);
    struct Case {
        const ImageArray* frames;
        int points;
        bool cargo;
        const char* label;
    };
    const Case cases[] = {{&SawcerFrames, 30, false, "30+"}, {&HunterFrames, 50, false, "50+"},
                          {&CargoFrames, 100, true, "100+"}};
    int expectedMen = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const auto a = Attacker::New(GameLayer.get(), *c.frames, *c.frames, 1, c.points);
        a->Cargo = c.cargo;
        a->Location({321.7f, 222.9f});
        const int particles = ParticleCounts[0];
        a->OnOutro(nullptr);
        a->Remove();
        expectedMen += c.cargo;
        const auto men = OfKind(*GameLayer, ObjectKind::Man);
        ASSERT_EQ(static_cast<int>(men.size()), expectedMen);
        if (c.cargo) {
            EXPECT_EQ(men.back()->Location(), (platform::Vec2f{321.7f, 222.9f}));
        }
        EXPECT_GT(ParticleCounts[0], particles);
        EXPECT_EQ(Labels(*FrontLayer).back(), c.label);
        EXPECT_EQ(a->Layer(), nullptr);
        EXPECT_EQ(a->Spark->Layer(), nullptr);
    }
    EXPECT_EQ(booms.Plays(), 3);
    EXPECT_EQ(enemytesting::InFlight(TrailPool), 16);  // 8 per destruction, as far as the pool goes
    for (const auto& object : FrontLayer->GetAllLayerObjects(true, true)) {
        if (const auto* label = dynamic_cast<const ScoreMessage*>(object.get())) {
            EXPECT_EQ(label->Color, (platform::Color{0, 1, 0, 1}));
            EXPECT_EQ(label->X(), 321);
            EXPECT_EQ(label->Y(), 222);
        }
    }
}

TEST(Attacker, ACrashIntoTheGroundGivesNoPointsNoManNoLabelAndNoMoreFire) {
    gamedriver::GameDriver game;
    game.BuildGround();
    game.AddShip(10);
    SoundProbe booms(Explosion1Sound);
    SoundProbe shots(Shoot1Sound);
    const float ground = GroundLine();
    for (const ImageArray* frames : {&CargoFrames, &HunterFrames}) {
        const auto a = Attacker::New(GameLayer.get(), *frames, *frames, 10, 100);
        a->Cargo = frames == &CargoFrames;
        a->Armed = frames == &HunterFrames;
        a->FireCountdown = 0;
        a->Location({400, ground - a->Height() / 2 - 0.5f});
        a->Velocity = {0, 1};
        a->Mode = 1;
        const int score = Score;
        a->OnUpdate();
        EXPECT_EQ(a->Layer(), nullptr);
        EXPECT_FALSE(a->Enabled());
        EXPECT_EQ(a->Spark->Layer(), nullptr);
        EXPECT_EQ(Score, score);
    }
    EXPECT_EQ(booms.Plays(), 2);
    EXPECT_EQ(shots.Plays(), 0);
    EXPECT_EQ(InFlight(AttackerBulletPool), 0);
    EXPECT_TRUE(OfKind(*GameLayer, ObjectKind::Man).empty());
    EXPECT_TRUE(Labels(*FrontLayer).empty());
    EXPECT_GT(ParticleCounts[0], 0);
}
