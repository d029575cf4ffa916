// Zandrovia: the saucer boss and its sweeping laser beam.
//
// The saucer sinks slowly from above the top edge to the middle of the sky,
// stops there and switches on a long red beam (SaucerLaser) that turns
// around it without end, clockwise, 0.025 radians per update. A glow sits
// at the beam's start and a second one where the beam crosses the ground
// line. A ship touched by the beam is lost at once. The saucer takes many
// hits (SaucerEnergy), is worth SaucerScore and counts for CountAttackers.
// Without a beam image it stops in the middle of the sky all the same, but
// shows no beam and no glows.
//
// A level script makes one with Top, which places it and hands it to
// GameScheduler; a warning sound given there makes it schedule
// WarningSound five times, 1250 ms apart, in its first active update.
//
// Depends on ghostedsprite.h, gamesprite.h, saucerlaser.h and the game's globals.
#pragma once

#include <array>
#include <memory>
#include <numbers>

#include "platform/audio.h"
#include "zandrovia/gamesprite.h"
#include "zandrovia/ghostedsprite.h"
#include "zandrovia/saucerlaser.h"

class Saucer : public GhostedSprite {
public:
    // 0: the glow at the beam's start; 1: the glow where the beam meets the ground.
    std::array<std::shared_ptr<GameSprite>, 2> Glows;
    // The beam.
    std::shared_ptr<SaucerLaser> Laser;
    // Direction of the beam in radians; a quarter turn points straight down.
    double BeamAngle = static_cast<double>(2.0f * std::numbers::pi_v<float> * 0.25f);
    // When set, the first update schedules the warning and clears it.
    platform::SoundPtr Warning;

    Saucer() = default;
    // A saucer in the layer and its task manager with a score record of
    // SaucerEnergy and SaucerScore, a collision writer; its beam (also a
    // collision writer) and glows in the layer, disabled.
    static std::shared_ptr<Saucer> New(kestrum::scenegraph::Layer* layer);
    // A saucer in GameLayer at x, one frame height above the top edge,
    // scaled by SaucerScale, starting delay ms from now. A warning that is
    // not null makes it schedule WarningSound when it starts.
    static std::shared_ptr<Saucer> Top(int delay, int x, const platform::SoundPtr& warning);

    void InitFields();
    void OnUpdate() override;
    // Removes the beam and the glows too.
    void Remove() override;
    // A big explosion, the sound and the points label; no trails.
    void OnOutro(const std::shared_ptr<kestrum::scenegraph::LayerObject>& other) override;

    // Stopped in the middle of the sky.
    bool Sweeping() const { return Sweeping_; }

private:
    void UpdateLaser_();

    bool Sweeping_ = false;
};
