// Zandrovia: the draw order of the shot and effect layers.
//
// The canvas batches sprites until the texture or the blend mode changes,
// so a layer whose sprites alternate between images costs one draw call per
// change: every explosion alone brings five (flare, ring, smoke, flare,
// spark). BatchSorter orders a layer's draw list by blend mode and then by
// texture, keeping the order of equal sprites and leaving the floating
// objects (listed last by the culling pass: the laser) last. For additive
// sprites the order never changes the picture; among alpha-blended ones
// (smoke, dust) only sprites of different images may swap which covers
// which. The game gives it to BulletsLayer and EffectsLayer.
//
// Depends on kestrum-scenegraph (ISorter, LayerSprite).
#pragma once

#include "kestrum-scenegraph/layer.h"

class BatchSorter : public kestrum::scenegraph::ISorter {
public:
    void Sort(kestrum::scenegraph::ObjectList& list) override;
};
