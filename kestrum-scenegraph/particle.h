// Particle: a short-lived sprite that moves and fades by itself. Per update
// it moves by its velocity (changed by acceleration, drag and gravity) and
// spins; it blends its colour and scale from their values at its start
// towards target values over its time to live, measured on the task clock;
// it can wait for a start delay; when its time to live has passed it removes
// itself (through the virtual Remove, which a pooled particle overrides).
//
// Enabling or disabling restarts the particle's clock: an emitter writes the
// fields, Delay included, before it enables the particle.
#pragma once

#include <memory>

#include "kestrum-scenegraph/layersprite.h"

namespace kestrum::scenegraph {

class Particle : public LayerSprite {
public:
    Particle() = default;

    static std::shared_ptr<Particle> New(scenegraph::Layer* layer, ImageArray images);
    static std::shared_ptr<Particle> New(scenegraph::Layer* layer, const platform::ImagePtr& image);

    platform::Vec2f Acceleration{0, 0};
    // Start delay in ms; consumed by the first update.
    int Delay = 0;
    // Per-axis factor on the velocity; 0 means no drag on that axis.
    platform::Vec2f Drag{0, 0};
    float Gravity = 0;
    float Spin = 0;
    platform::Color StartColor{0, 0, 0, 0};
    platform::Vec2f StartScale{0, 0};
    platform::Color TargetColor{1, 1, 1, 0};
    platform::Vec2f TargetScale{1, 1};
    // ms after the start; 0 never expires (and does not tween).
    float TimeToLive = 1000;
    platform::Vec2f Velocity{0, 0};
    bool Started = false;

    // Restarts the particle's clock, then stores the flag.
    void Enabled(bool value) override;
    bool Enabled() const override { return Task::Enabled(); }
    void OnUpdate() override;
    // Nothing until the start time (delay included) has passed.
    void Draw(platform::Canvas& canvas) override;

protected:
    // The steps of OnUpdate, for derived classes.
    void Start_();
    void UpdateMotion_();
    void UpdateColor_();
    void UpdateScale_();
};

}  // namespace kestrum::scenegraph
