// Trail particles: bursts take only free particles from the pool, fly and
// stretch, and return to the pool when they have faded.
#include "zandrovia/trailparticle.h"

#include <gtest/gtest.h>

#include <cmath>

#include "kestrum-scenegraph/layer.h"
#include "platform/clock.h"
#include "zandrovia/globals.h"

namespace {

// A pool of count particles in a layer of their own, as the game screen builds it.
std::shared_ptr<kestrum::scenegraph::Layer> FillPool(int count) {
    auto layer = kestrum::scenegraph::Layer::New();
    TrailParticle::FillPool(layer.get(), count, nullptr);
    return layer;
}

int Live() {
    int live = 0;
    for (int i = 0; i < TrailPool.Count; ++i) live += TrailPool.Item(i)->Enabled();
    return live;
}

}  // namespace

TEST(TrailParticle, BurstsTakeOnlyFreeParticles) {
    platform::ResetRnd();
    const auto layer = FillPool(16);
    TrailParticle::Create(13, 10, 20, 1.0f);
    EXPECT_EQ(Live(), 13);
    TrailParticle::Create(8, 10, 20, 1.0f);  // 3 free: 3 start, 5 are skipped
    EXPECT_EQ(Live(), 16);
    TrailParticle::Create(0, 0, 0, 1.0f);
    TrailParticle::Create(-2, 0, 0, 1.0f);
    EXPECT_EQ(Live(), 16);

    for (int i = 0; i < TrailPool.Count; ++i) {
        const auto& p = *TrailPool.Item(i);
        EXPECT_EQ(p.Location(), (platform::Vec2f{10, 20}));
        EXPECT_EQ(p.BlendMode, platform::BlendMode::Additive);
        EXPECT_EQ(p.Color, (platform::Color{1, 0.75f, 0.5f, 1}));
        EXPECT_FLOAT_EQ(p.ScaleX(), 0.011f);
        EXPECT_NEAR(std::hypot(p.Velocity.x, p.Velocity.y), 5.0f, 1e-4f);
        EXPECT_NEAR(p.Velocity.x, 5 * std::cos(p.Rotation), 1e-4f);
        EXPECT_NEAR(p.Velocity.y, 5 * std::sin(p.Rotation), 1e-4f);
        EXPECT_GE(p.Rotation, 0.0f);
        EXPECT_LT(p.Rotation, 2 * 3.14159265f * 359 / 360);
        EXPECT_LE(p.AlphaStep, -0.005f);
        EXPECT_GE(p.AlphaStep, -0.01f);
        EXPECT_GE(p.ScaleStep, 0.01f);
        EXPECT_LE(p.ScaleStep, 0.02f);
    }

    // Clearing the layer returns the live particles; they stay in the layer.
    layer->Clear();
    EXPECT_EQ(Live(), 0);
    EXPECT_EQ(layer->CountLayerObjects(), 16);
    EXPECT_TRUE(TrailPool.Acquire());
    TrailPool.Clear();
}

TEST(TrailParticle, FliesStretchesAndReturnsInItsTwoHundredAndFirstUpdate) {
    const auto layer = FillPool(1);
    const auto particle = TrailPool.Acquire();
    particle->Init(0, 0, 1.0f);
    particle->Velocity = {3, 4};
    particle->AlphaStep = -0.005f;
    particle->ScaleStep = 0.01f;
    particle->Enabled(true);
    for (int update = 1; update <= 200; ++update) particle->OnUpdate();
    EXPECT_TRUE(particle->Enabled());
    EXPECT_FLOAT_EQ(particle->X(), 600);
    EXPECT_FLOAT_EQ(particle->Y(), 800);
    EXPECT_NEAR(particle->ScaleX(), 0.011f + 2.0f, 1e-4f);
    EXPECT_FLOAT_EQ(particle->ScaleY(), 0.011f);
    particle->OnUpdate();
    EXPECT_FALSE(particle->Enabled());
    EXPECT_EQ(particle->Layer(), layer.get());
    // Its slot is free again, and a second Remove cannot free a slot taken anew.
    EXPECT_EQ(TrailPool.Acquire(), particle);
    particle->Remove();
    EXPECT_EQ(TrailPool.Acquire(), nullptr);
    TrailPool.Clear();
}
