// Zandrovia: a pick-up dropped by a destroyed tank.
//
// A pick-up rises through the sky until the current ship collects it during
// play (Player applies its effect), it leaves the top of the screen, or,
// once play has stopped (a level ends, the game is over), it has faded out.
// Its kind is the frame array it is built with: POWER UP, TRACKER, NUKE,
// SHIELD or LASER (PickupKindOf); POWER UP and TRACKER glow. It is a
// collision writer without a score record: shots pass through it.
//
// Depends on gamesprite.h, kestrum-scenegraph (LayerGroup) and the game's globals.
#pragma once

#include <memory>
#include <string>

#include "kestrum-scenegraph/layergroup.h"
#include "kestrum-scenegraph/objectlist.h"
#include "platform/types.h"
#include "zandrovia/gamesprite.h"

// The five kinds of pick-up, in the order of their voices' names.
enum class PickupKind { None, PowerUp, Tracker, Nuke, Shield, Laser };

// The kind of a pick-up frame array: the global array itself, or an array
// whose first image is the (loaded) first image of one of the five. None
// for any other array, and for arrays whose first image is missing.
PickupKind PickupKindOf(const kestrum::scenegraph::ImageArray& frames);
// The name a collected pick-up shows: "POWER UP", "TRACKER", ...; "" for None.
std::string PickupName(PickupKind kind);

class Pickup : public kestrum::scenegraph::LayerGroup {
public:
    // The animated image; its frames are the kind.
    std::shared_ptr<GameSprite> Sprite;
    // The additive glow of POWER UP and TRACKER; null for the others.
    std::shared_ptr<GameSprite> Glow;

    Pickup() = default;
    // A pick-up in the layer and its task manager at the position.
    static std::shared_ptr<Pickup> New(kestrum::scenegraph::Layer* layer, kestrum::scenegraph::ImageArray frames,
                                       platform::Vec2f position);

    PickupKind Kind() const;
    void OnUpdate() override;
};
