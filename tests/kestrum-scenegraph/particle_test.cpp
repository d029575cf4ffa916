#include "kestrum-scenegraph/particle.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sgtest.h"

namespace sg = kestrum::scenegraph;
using platform::Color;
using platform::Vec2f;

namespace {

struct Life {
    sgtest::FakeClock clock{1000};
    std::shared_ptr<sg::Layer> layer = sg::Layer::New();
    std::shared_ptr<sg::Particle> particle = sg::Particle::New(layer.get(), sgtest::SolidImage(4, 4, Color::White()));

    void At(std::int64_t ms) { clock.now = ms; }
};

}  // namespace

TEST(ParticleTween, DefaultParticleFadesOutInOneSecond) {
    Life l;
    ASSERT_EQ(l.particle->StartTime, 1000);
    struct Step {
        std::int64_t at;
        float alpha;
        bool alive;
    };
    const Step steps[] = {{1000, 1, true}, {1500, 0.5f, true}, {2000, 0, true}, {2001, 0, false}};
    for (const Step& s : steps) {
        l.At(s.at);
        l.particle->OnUpdate();
        EXPECT_NEAR(l.particle->Color.a, s.alpha, 1e-5) << s.at;
        EXPECT_EQ(l.particle->Scale, (Vec2f{1, 1}));
        EXPECT_EQ(l.particle->Enabled(), s.alive) << s.at;
        EXPECT_EQ(l.particle->Layer() != nullptr, s.alive) << s.at;
    }
}

TEST(ParticleTween, ColoursStayInRangeAndScalesFollow) {
    Life l;
    l.particle->TargetColor = {2, -1, 0.5f, 3};
    l.particle->TargetScale = {3, 0};
    l.particle->TimeToLive = 100;
    l.particle->OnUpdate();  // starts at 1000
    for (std::int64_t t : {1050, 1075, 1100}) {
        l.At(t);
        l.particle->OnUpdate();
        const Color c = l.particle->Color;
        for (float v : {c.r, c.g, c.b, c.a}) {
            EXPECT_GE(v, 0) << t;
            EXPECT_LE(v, 1) << t;
        }
    }
    EXPECT_NEAR(l.particle->Scale.x, 3, 1e-5);
    EXPECT_NEAR(l.particle->Scale.y, 0, 1e-5);
    EXPECT_NEAR(l.particle->Color.b, 0.5f, 1e-5);
}

TEST(ParticleTween, ZeroTimeToLiveNeverTweensOrExpires) {
    Life l;
    l.particle->TimeToLive = 0;
    l.particle->TargetScale = {2, 2};
    for (std::int64_t t : {1000, 1000, 5000, 90000}) {
        l.At(t);
        l.particle->OnUpdate();
        const Color c = l.particle->Color;
        EXPECT_FALSE(std::isnan(c.r) || std::isnan(c.g) || std::isnan(c.b) || std::isnan(c.a));
        EXPECT_EQ(c, Color::White());
        EXPECT_EQ(l.particle->Scale, (Vec2f{1, 1}));
        EXPECT_TRUE(l.particle->Enabled());
    }
}

TEST(ParticleLife, DelayShiftsTheStartAndHidesTheParticle) {
    Life l;
    l.At(5000);
    l.particle->Delay = 200;
    l.particle->Velocity = {3, 0};
    l.particle->Enabled(true);
    l.particle->OnUpdate();
    EXPECT_EQ(l.particle->StartTime, 5200);
    EXPECT_EQ(l.particle->Delay, 0);
    EXPECT_FALSE(l.particle->Started);
    EXPECT_EQ(l.particle->X(), 0);  // nothing else in that update

    l.At(5100);
    l.particle->OnUpdate();
    EXPECT_TRUE(l.particle->Started);
    EXPECT_EQ(l.particle->X(), 3);  // motion runs per update
    EXPECT_FLOAT_EQ(l.particle->Color.a, 1);  // before the start: clamped to the start colour
    l.At(5700);
    l.particle->OnUpdate();
    EXPECT_NEAR(l.particle->Color.a, 0.5f, 1e-5);  // measured from 5200
}

TEST(ParticleLife, MotionUsesThePreviousVelocity) {
    Life l;
    l.particle->TimeToLive = 0;
    l.particle->Velocity = {2, 0};
    l.particle->Drag = {0.5f, 0};
    l.particle->Gravity = 1;
    l.particle->Spin = 0.25f;
    const Vec2f expected[] = {{2, 0}, {3, 1}, {3.5f, 3}};
    for (const Vec2f& e : expected) {
        l.particle->OnUpdate();
        EXPECT_FLOAT_EQ(l.particle->X(), e.x);
        EXPECT_FLOAT_EQ(l.particle->Y(), e.y);
    }
    EXPECT_FLOAT_EQ(l.particle->Rotation, 0.75f);

    // Far enough to change cells: the particle is re-filed.
    l.particle->Velocity = {5000, 0};
    l.particle->Drag = {0, 0};
    l.particle->OnUpdate();
    EXPECT_EQ(l.particle->Cell(), l.layer->Cells()(2, 0).get());
}

TEST(ParticleLife, RestartingCapturesNewStartValuesAndPauseFreezesTheTween) {
    Life l;
    l.particle->OnUpdate();
    l.At(1500);
    l.particle->OnUpdate();
    ASSERT_NEAR(l.particle->Color.a, 0.5f, 1e-5);
    l.particle->Enabled(false);
    l.particle->Enabled(true);
    EXPECT_FALSE(l.particle->Started);
    EXPECT_EQ(l.particle->StartTime, 1500);
    l.particle->OnUpdate();
    EXPECT_FLOAT_EQ(l.particle->StartColor.a, 0.5f);

    kestrum::framework::SetTasksPaused(true);
    l.particle->Velocity = {1, 0};
    l.At(2400);
    l.particle->OnUpdate();  // moves, but the task clock stands still
    EXPECT_FLOAT_EQ(l.particle->X(), 1);
    EXPECT_FLOAT_EQ(l.particle->Color.a, 0.5f);
    l.At(9000);
    l.particle->OnUpdate();
    EXPECT_TRUE(l.particle->Enabled());
}
