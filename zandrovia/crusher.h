// Zandrovia: a crusher column rising from the bottom edge.
//
// A crusher is a group of four animated segments stacked into a column. It
// rises slowly out of the bottom edge of the view until the whole column is
// visible, rests there for 60 updates, drops back quickly, moves to a new
// random x once it is wholly below the edge, waits 60 updates and rises
// again, for the rest of the level. A ship that touches it is lost at once.
// It cannot be damaged (no score record; shots pass through it) and does not
// count for CountAttackers.
//
// A level script builds one with New and a start delay; the crusher hands
// itself to GameScheduler.
//
// Depends on kestrum-scenegraph (LayerGroup), gamesprite.h and the game's globals.
#pragma once

#include <array>
#include <memory>

#include "kestrum-scenegraph/layergroup.h"
#include "zandrovia/gamesprite.h"

class Crusher : public kestrum::scenegraph::LayerGroup {
public:
    // The column, top to bottom; members of the group.
    std::array<std::shared_ptr<GameSprite>, 4> Segments;
    // 0 rising, 1 resting on top, 2 sinking, 3 waiting below.
    int State = 0;
    // Countdown of the resting and waiting states, in updates.
    int Timer = 0;

    Crusher() = default;
    // A crusher in the layer and its task manager, a collision writer, at a
    // random x wholly below the bottom edge, scheduled to start delay ms from now.
    static std::shared_ptr<Crusher> New(kestrum::scenegraph::Layer* layer, int delay);

    void InitFields();
    void OnUpdate() override;
};
