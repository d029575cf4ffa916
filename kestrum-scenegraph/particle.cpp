#include "kestrum-scenegraph/particle.h"

#include <algorithm>
#include <cmath>

#include "kestrum-framework/taskmanager.h"

namespace kestrum::scenegraph {

std::shared_ptr<Particle> Particle::New(scenegraph::Layer* layer, ImageArray images) {
    auto particle = std::make_shared<Particle>();
    particle->Layer(layer);
    particle->Images(std::move(images));
    return particle;
}

std::shared_ptr<Particle> Particle::New(scenegraph::Layer* layer, const platform::ImagePtr& image) {
    auto particle = std::make_shared<Particle>();
    particle->Layer(layer);
    particle->Image(image);
    return particle;
}

void Particle::Enabled(bool value) {
    Started = false;
    StartTime = framework::TaskTime();
    Task::Enabled(value);
}

void Particle::Start_() {
    Started = true;
    StartColor = Color;
    StartScale = Scale;
}

void Particle::UpdateMotion_() {
    if (Velocity.x != 0 || Velocity.y != 0) {
        X(X() + Velocity.x);
        Y(Y() + Velocity.y);
    }
    if (Acceleration.x != 0 || Acceleration.y != 0) Velocity += Acceleration;
    if (Drag.x != 0 || Drag.y != 0) {
        if (Drag.x != 0) Velocity.x *= Drag.x;
        if (Drag.y != 0) Velocity.y *= Drag.y;
    }
    Velocity.y += Gravity;
    Rotation += Spin;
}

namespace {

// How far the particle is through its life; false when it has no lifetime
// (a tween over 0 ms would divide by zero) or the fraction is not a number.
bool LifeFraction(const Particle& p, float& f) {
    if (p.TimeToLive == 0) return false;
    f = static_cast<float>(framework::TaskTime() - p.StartTime) / p.TimeToLive;
    return std::isfinite(f);
}

float Tween(float start, float target, float f) {
    const float value = start + (target - start) * f;
    return std::isfinite(value) ? std::clamp(value, 0.0f, 1.0f) : std::clamp(target, 0.0f, 1.0f);
}

}  // namespace

void Particle::UpdateColor_() {
    if (Color == TargetColor) return;
    float f = 0;
    if (!LifeFraction(*this, f)) return;
    Color.r = Tween(StartColor.r, TargetColor.r, f);
    Color.g = Tween(StartColor.g, TargetColor.g, f);
    Color.b = Tween(StartColor.b, TargetColor.b, f);
    Color.a = Tween(StartColor.a, TargetColor.a, f);
}

void Particle::UpdateScale_() {
    if (Scale == TargetScale) return;
    float f = 0;
    if (!LifeFraction(*this, f)) return;
    Scale.x = StartScale.x + (TargetScale.x - StartScale.x) * f;
    Scale.y = StartScale.y + (TargetScale.y - StartScale.y) * f;
}

void Particle::OnUpdate() {
    if (Delay > 0) {
        StartTime += Delay;
        Delay = 0;
        return;
    }
    if (!Started) Start_();
    UpdateMotion_();
    UpdateColor_();
    UpdateScale_();
    if (TimeToLive != 0 &&
        static_cast<float>(framework::TaskTime()) > static_cast<float>(StartTime) + TimeToLive) {
        Remove();
    }
}

void Particle::Draw(platform::Canvas& canvas) {
    if (StartTime + Delay >= framework::TaskTime()) return;
    DrawSprite_(canvas);
}

}  // namespace kestrum::scenegraph
