// Zandrovia: a muzzle flash.
//
// A Spark is an additive glow that its owner lights (alpha 1) when firing,
// fades from its own update and keeps on the gun. It has no task manager of
// its own: nothing but its owner updates it. A spark made in a group moves
// with the group (ships, tanks); one made in a layer stays where its owner
// last put it (attackers, spiders).
//
// Depends on gamesprite.h.
#pragma once

#include <memory>

#include "zandrovia/gamesprite.h"

class Spark : public GameSprite {
public:
    Spark() = default;
    static std::shared_ptr<Spark> New(kestrum::scenegraph::LayerGroup* group, const platform::ImagePtr& image);
    static std::shared_ptr<Spark> New(kestrum::scenegraph::Layer* layer, const platform::ImagePtr& image);
};
