#include "kestrum-scenegraph/emitter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "kestrum-framework/contentmanager.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "sgtest.h"
#include "support/testsupport.h"

namespace sg = kestrum::scenegraph;
using Range = std::vector<float>;

namespace {

std::string WriteFile(const std::string& text) {
    const std::string path = testsupport::TempDir() + "effect.txt";
    platform::SaveString(text, path);
    return path;
}

struct Emitting {
    sgtest::FakeClock clock{1000};
    std::shared_ptr<sg::Layer> layer = sg::Layer::New();

    int Count() const { return layer->CountLayerObjects(); }
};

}  // namespace

TEST(EmitterFile, BlocksBecomeEntriesWithTheirDefaults) {
    sgtest::FakeClock clock;
    const std::string text =
        "particles=3\nimagePath=particles/spark.png\n\n"
        "handleX=\nalpha=0.5,1,7\nblendMode=AdDiTiVe\nangle=\"90\"\nvelocityX=junk\n\n\n\n"
        "blendMode=add\r\nimagePath=particles/spark.png,particles/missing.png\r\n\r\nred=0.25,0.75\r\n";
    sg::Emitter emitter(WriteFile(text));
    ASSERT_EQ(emitter.Caches.size(), 5u);
    ASSERT_EQ(emitter.Configs.size(), 5u);

    const sg::EmitterCache& first = emitter.Caches[0];
    EXPECT_EQ(first.Particles, (Range{3, 3}));
    EXPECT_EQ(first.Scale, (Range{0, 0}));
    EXPECT_EQ(first.HandleX, (Range{0.5f, 0.5f}));
    EXPECT_EQ(first.BlendMode, 2);
    ASSERT_EQ(first.Images->size(), 1u);
    EXPECT_TRUE((*first.Images)[0]);

    const sg::EmitterCache& second = emitter.Caches[1];
    EXPECT_EQ(second.HandleX, (Range{0, 0}));  // present but empty
    EXPECT_EQ(second.HandleY, (Range{0.5f, 0.5f}));
    EXPECT_EQ(second.Alpha, (Range{0.5f, 1}));
    EXPECT_EQ(second.BlendMode, 3);
    EXPECT_EQ(second.Angle, (Range{90, 90}));
    EXPECT_EQ(second.VelocityX, (Range{0, 0}));
    EXPECT_TRUE(second.Images->empty());

    // Three empty lines leave an empty block between the two.
    EXPECT_EQ(emitter.Caches[2].Particles, (Range{0, 0}));
    EXPECT_EQ(emitter.Configs[2]->Lines(), 1);

    const sg::EmitterCache& crlf = emitter.Caches[3];
    EXPECT_EQ(crlf.BlendMode, 2);  // an abbreviation is no name
    ASSERT_EQ(crlf.Images->size(), 2u);
    EXPECT_EQ((*crlf.Images)[0], (*first.Images)[0]);  // one cache, one image
    EXPECT_FALSE((*crlf.Images)[1]);                    // a failed load stays null
    EXPECT_EQ(emitter.Caches[4].Red, (Range{0.25f, 0.75f}));

    sg::Emitter missing("particles/does-not-exist.txt");
    ASSERT_EQ(missing.Caches.size(), 1u);
    EXPECT_EQ(missing.Caches[0].HandleY, (Range{0.5f, 0.5f}));
}

TEST(EmitterSet, SameGeneratorStateGivesTheSameParticle) {
    sgtest::FakeClock clock;
    sg::Emitter emitter("particles/smoke.txt");
    ASSERT_EQ(emitter.Caches.size(), 1u);
    auto draw = [&] {
        auto particle = std::make_shared<sg::Particle>();
        platform::ResetRnd();
        sg::Emitter::Set(emitter.Caches[0], particle, 2);
        return particle;
    };
    const auto a = draw();
    const auto b = draw();
    EXPECT_EQ(a->Color, b->Color);
    EXPECT_EQ(a->Velocity, b->Velocity);
    EXPECT_EQ(a->Scale, b->Scale);
    EXPECT_EQ(a->Rotation, b->Rotation);
    EXPECT_EQ(a->TimeToLive, b->TimeToLive);
    EXPECT_EQ(a->Images(), emitter.Caches[0].Images);  // shared, not copied
    // Values from the file's ranges, sizes scaled by 2.
    EXPECT_FLOAT_EQ(a->Color.r, 0.8f);
    EXPECT_GE(a->Scale.x, 0.7f);
    EXPECT_LT(a->Scale.x, 1.0f);
    EXPECT_GE(a->TargetScale.x, 2.0f);
    EXPECT_GE(a->TimeToLive, 300);
    EXPECT_LT(a->TimeToLive, 400);
    EXPECT_FLOAT_EQ(a->Drag.x, 0.97f);

    // 24 draws per particle: the next draw after one Set is the 25th.
    platform::ResetRnd();
    for (int i = 0; i < 24; ++i) platform::Rnd();
    const double expected = platform::Rnd();
    platform::ResetRnd();
    sg::Emitter::Set(emitter.Caches[0], std::make_shared<sg::Particle>(), 1);
    EXPECT_EQ(platform::Rnd(), expected);

    sg::Emitter::Set(emitter.Caches[0], nullptr, 1);  // no particle: nothing
}

TEST(EmitterSet, AngleTurnsImageAndFlight) {
    sgtest::FakeClock clock;
    sg::Emitter emitter(WriteFile("angle=90\nvelocityX=5\nvelocityY=5\nscale=1\ntargetScale=2\ntimeToLive=0"));
    auto particle = std::make_shared<sg::Particle>();
    sg::Emitter::Set(emitter.Caches[0], particle, 1);
    EXPECT_NEAR(particle->Velocity.x, 0, 1e-5);
    EXPECT_NEAR(particle->Velocity.y, 5, 1e-5);
    EXPECT_NEAR(particle->Rotation, std::numbers::pi_v<float> / 2, 1e-6);
    EXPECT_EQ(particle->TargetScale, (platform::Vec2f{2, 2}));
}

TEST(EmitterPlay, ParticleCountsAndPlacement) {
    struct Case {
        const char* particles;
        int count;
    };
    // Counts from a damaged file are bounded: huge ones to the maximum, and
    // those that are not numbers or infinite to none.
    const Case cases[] = {{"particles=12", 12},          {"particles=2.5", 3},
                          {"particles=0", 0},            {"particles=-4", 0},
                          {"red=1", 0},                  {"particles=10,20", -1},
                          {"particles=1e12,1e12", sg::Emitter::MaxParticles},
                          {"particles=inf", 0},          {"particles=nan", 0},
                          {"particles=-inf,inf", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.particles);
        Emitting e;
        sg::Emitter emitter(WriteFile(std::string(c.particles) + "\nimagePath=particles/spark.png"));
        emitter.Play(e.layer.get(), 300, 200, 1, 5, true);
        if (c.count >= 0) {
            EXPECT_EQ(e.Count(), c.count);
        } else {
            EXPECT_GE(e.Count(), 10);
            EXPECT_LT(e.Count(), 20);
        }
    }

    Emitting e;
    sg::Emitter emitter(WriteFile("particles=2\n\nparticles=1\nimagePath=particles/missing.png"));
    emitter.Play(e.layer.get(), {300, 200}, 1, 5, true);
    const sg::ObjectList made = e.layer->GetAllLayerObjects(true, true);
    ASSERT_EQ(made.Length(), 3);
    for (const auto& object : made) {
        EXPECT_EQ(object->Location(), (platform::Vec2f{300, 200}));
        EXPECT_EQ(object->Z, 5);
        EXPECT_TRUE(object->Floating);
        EXPECT_EQ(object->TaskManager(), e.layer->TaskManager);
    }
    // A particle with a missing image draws the placeholder without trouble.
    auto target = testsupport::MakeTarget(16, 16);
    e.clock.now = 5000;
    for (const auto& object : made) object->Draw(*target.canvas);

    emitter.Play(nullptr, 0, 0, 1, 0, false);  // no layer: nothing
}

TEST(EmitterPlay, HaltedClockEmitsNothingAndDrawsNothing) {
    Emitting e;
    sg::Emitter emitter(WriteFile("particles=4,8"));
    for (int halt = 0; halt < 2; ++halt) {
        kestrum::framework::SetTasksPaused(halt == 0);
        kestrum::framework::SetTasksFrozen(halt == 1);
        platform::ResetRnd();
        const double first = platform::Rnd();
        platform::ResetRnd();
        emitter.Play(e.layer.get(), 0, 0, 1, 0, false);
        EXPECT_EQ(e.Count(), 0);
        EXPECT_EQ(platform::Rnd(), first);
    }
}
