// Zandrovia: the glowing streaks that fly out of explosions.
#include "zandrovia/trailparticle.h"

#include <cmath>
#include <numbers>

#include "kestrum-scenegraph/layer.h"
#include "platform/clock.h"
#include "zandrovia/globals.h"

void TrailParticle::FillPool(kestrum::scenegraph::Layer* layer, int count, const platform::ImagePtr& image) {
    TrailPool.Clear();
    for (int i = 0; i < count; ++i) {
        auto particle = std::make_shared<TrailParticle>();
        particle->Layer(layer);
        if (layer) particle->TaskManager(layer->TaskManager);
        particle->Image(image);
        particle->Tattooed = true;
        particle->Enabled(false);
        particle->PoolIndex = TrailPool.Add(particle);
    }
}

void TrailParticle::Create(int count, float x, float y, float scale) {
    for (int i = 0; i < count; ++i) {
        const std::shared_ptr<TrailParticle> particle = TrailPool.Acquire();
        if (!particle) continue;
        particle->Init(x, y, scale);
        particle->Enabled(true);
    }
}

void TrailParticle::Init(float x, float y, float scale) {
    X(x);
    Y(y);
    // A random direction over 359 of the 360 degrees.
    const float r = static_cast<float>(platform::Rnd(2.0 * std::numbers::pi * 0.9972222222222222));
    BlendMode = platform::BlendMode::Additive;
    Color = {1, 0.75f, 0.5f, 1};
    Scale = {scale * 0.011f, scale * 0.011f};
    Rotation = r;
    Velocity = {5 * std::cos(r), 5 * std::sin(r)};
    AlphaStep = static_cast<float>(platform::Rnd(-0.005 / scale, -0.01 / scale));
    ScaleStep = static_cast<float>(platform::Rnd(0.01 / scale, 0.02 / scale));
}

void TrailParticle::InitFields() { Drag = {1, 1}; }

void TrailParticle::OnUpdate() {
    X(X() + Velocity.x);
    Y(Y() + Velocity.y);
    Velocity = {Velocity.x * Drag.x, Velocity.y * Drag.y};
    Scale.x += ScaleStep;
    Alpha(Alpha() + AlphaStep);
    if (Alpha() < 0) Remove();
}

void TrailParticle::Remove() {
    if (!Enabled()) return;
    TrailPool.Release(PoolIndex);
    Enabled(false);
}

void TrailParticle::Discard() {
    if (Enabled()) Remove();
}
