// The shared particle pool: the 256-particle pool, per-kind budgets, the end
// of a particle's life and clearing the effects layer.
#include "zandrovia/pooledparticle.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "kestrum-framework/taskmanager.h"
#include "kestrum-scenegraph/layer.h"
#include "platform/clock.h"
#include "zandrovia/constants.h"
#include "zandrovia/pooledemitter.h"
#include "zandrovia/zandrovia.h"

namespace {

// A filled pool in a layer of its own, under a clock the test drives.
class ParticlePoolTest : public testing::Test {
protected:
    void SetUp() override {
        InitGameModule();
        platform::SetMillisecsSource([this] { return now_; });
        kestrum::framework::InitTaskManagerUnit();
        layer_ = kestrum::scenegraph::Layer::New();
        FillParticlePool(layer_.get());
    }
    void TearDown() override {
        ParticlePool.Clear();
        ParticleCounts.fill(0);
        kestrum::framework::InitTaskManagerUnit();
        platform::SetMillisecsSource({});
    }

    // An emitter of blocks with fixed particle counts, each particle living 100 ms.
    static PooledEmitter Blocks(std::initializer_list<std::vector<float>> counts) {
        PooledEmitter emitter;
        for (const auto& count : counts) {
            kestrum::scenegraph::EmitterCache cache;
            cache.Particles = count;
            cache.TimeToLive = {100};
            emitter.Caches.push_back(cache);
        }
        return emitter;
    }
    int InLayer() const {
        return layer_->GetAllLayerObjects(true, true).Length() + layer_->GetAllLayerObjects(false, true).Length();
    }
    int Live() const {
        int live = 0;
        for (int i = 0; i < ParticlePool.Count; ++i) live += ParticlePool.Item(i)->Enabled();
        return live;
    }

    std::int64_t now_ = 1000;
    std::shared_ptr<kestrum::scenegraph::Layer> layer_;
};

}  // namespace

TEST_F(ParticlePoolTest, PoolHoldsParticleTotalTattooedFreeParticles) {
    ASSERT_EQ(ParticlePool.Count, 256);
    EXPECT_EQ(InLayer(), 256);
    for (int i = 0; i < ParticlePool.Count; ++i) {
        const auto particle = ParticlePool.Item(i);
        EXPECT_EQ(particle->PoolIndex, i);
        EXPECT_TRUE(particle->Tattooed);
        EXPECT_FALSE(particle->Enabled());
    }
}

TEST_F(ParticlePoolTest, WithoutBudgetEmitsUntilThePoolIsEmpty) {
    Blocks({{300}, {5}}).Play(10, 20, 1, -1, 0);
    EXPECT_EQ(ParticleCounts[0], 256);
    EXPECT_EQ(Live(), 256);
    EXPECT_EQ(ParticlePool.Item(7)->Location(), (platform::Vec2f{10, 20}));
    // A single count that is not whole rounds up: 2.5 gives 3.
    ParticlePool.ReleaseAll();
    for (int i = 0; i < ParticlePool.Count; ++i) ParticlePool.Item(i)->Enabled(false);
    ParticleCounts.fill(0);
    Blocks({{2.5f}}).Play(0, 0, 1, -1, 0);
    EXPECT_EQ(ParticleCounts[0], 3);
}

TEST_F(ParticlePoolTest, ReachedBudgetEndsTheWholeCall) {
    // 24 live of kind 3: the pair [24, 3] emits nothing from any block.
    Blocks({{24}}).Play(0, 0, 1, RocketSmokeBudget[0], RocketSmokeBudget[1]);
    ASSERT_EQ(ParticleCounts[3], 24);
    Blocks({{10}, {10}}).Play(0, 0, 1, RocketSmokeBudget[0], RocketSmokeBudget[1]);
    EXPECT_EQ(ParticleCounts[3], 24);
    EXPECT_EQ(Live(), 24);

    // A budget reached in the middle of the first block leaves the later blocks empty.
    Blocks({{10}, {10}}).Play(0, 0, 1, 5, 4);
    EXPECT_EQ(ParticleCounts[4], 5);
    EXPECT_EQ(Live(), 29);
    // Other kinds are not held back by kind 4's budget; an unknown kind emits nothing.
    Blocks({{3}}).Play(0, 0, 1, 32, 5);
    EXPECT_EQ(ParticleCounts[5], 3);
    Blocks({{3}}).Play(0, 0, 1, -1, 6);
    Blocks({{3}}).Play(0, 0, 1, -1, -1);
    EXPECT_EQ(Live(), 32);
}

TEST_F(ParticlePoolTest, EndOfLifeReturnsTheParticleToThePool) {
    Blocks({{1}}).Play(0, 0, 1, -1, 0);
    ASSERT_EQ(ParticleCounts[0], 1);
    const auto particle = ParticlePool.Item(0);
    ASSERT_TRUE(particle->Enabled());
    now_ += 50;
    particle->OnUpdate();
    EXPECT_TRUE(particle->Enabled());
    now_ += 100;
    particle->OnUpdate();
    EXPECT_FALSE(particle->Enabled());
    EXPECT_EQ(ParticleCounts[0], 0);
    EXPECT_FALSE(ParticlePool.Used[0]);
    EXPECT_EQ(particle->Layer(), layer_.get());
    // A second Remove of a free particle does not count below zero.
    particle->Remove();
    EXPECT_EQ(ParticleCounts[0], 0);
    // Its slot is taken again, by the same object.
    ParticlePool.Cursor = 0;
    Blocks({{1}}).Play(0, 0, 1, -1, 2);
    EXPECT_TRUE(particle->Enabled());
    EXPECT_EQ(particle->Kind, 2);
}

TEST_F(ParticlePoolTest, ClearingTheLayerFreesEveryLiveParticle) {
    Blocks({{40}}).Play(0, 0, 1, ImpactBudget[0], ImpactBudget[1]);
    ASSERT_EQ(ParticleCounts[4], 40);
    layer_->Clear();
    EXPECT_EQ(ParticleCounts[4], 0);
    EXPECT_EQ(Live(), 0);
    for (int i = 0; i < ParticlePool.Count; ++i) EXPECT_FALSE(ParticlePool.Used[static_cast<std::size_t>(i)]);
    EXPECT_EQ(InLayer(), 256);
}
