// Zandrovia: the player's laser beam.
//
// One green beam (PlayerLaser) with a glow at each end, built once in the
// effects layer by the Game screen. It has no behaviour of its own: the Game
// screen places it from the current ship to its target, fades it and
// switches it on and off, and Nuke switches it off. The beam and its glows
// are tattooed, so clearing the layers between levels keeps them. A missing
// strip image draws nothing.
//
// Depends on kestrum-scenegraph (LayerLine) and gamesprite.h.
#pragma once

#include <array>
#include <memory>

#include "kestrum-scenegraph/layerline.h"
#include "zandrovia/gamesprite.h"

class Laser : public kestrum::scenegraph::LayerLine {
public:
    // The glows at the beam's start and end.
    std::array<std::shared_ptr<GameSprite>, 2> Glows;

    Laser() = default;
    // The beam and its glows in the layer (in no task manager), transparent and disabled.
    static std::shared_ptr<Laser> New(kestrum::scenegraph::Layer* layer);

    void Draw(platform::Canvas& canvas) override;
};
