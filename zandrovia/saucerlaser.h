// Zandrovia: the laser beam of the saucer boss.
//
// A line from its location (the beam's start) to its end point, drawn with
// the LaserRedImage strip; the Saucer places and turns it. Its class is what
// lets a ship recognise the beam, which destroys a ship at once. Without a
// strip image it draws nothing.
//
// Depends on kestrum-scenegraph (LayerLine).
#pragma once

#include "kestrum-scenegraph/layerline.h"

class SaucerLaser : public kestrum::scenegraph::LayerLine {
public:
    SaucerLaser() = default;

    void Draw(platform::Canvas& canvas) override;
};
