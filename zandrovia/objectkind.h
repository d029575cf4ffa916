// Zandrovia: which kind of actor a layer object is.
//
// The actors treat each other by kind: a ship reacts to an attacker, a
// crusher or a man differently, a shot hits only enemies, the laser and the
// tracker pick their targets among some kinds, and a level stays open while
// some kinds are left. Every such check goes through KindOf, so a new actor
// class is made known to all of them here, in one place. An object of a
// derived class counts as its base (a cargo ship is an Attacker).
//
// Depends on kestrum-scenegraph (LayerObject) and the game's actor classes.
#pragma once

#include <vector>

namespace kestrum::scenegraph {
class LayerObject;
}
class GhostedSprite;

enum class ObjectKind {
    Other,
    Player,
    PlayerBullet,
    AttackerBullet,
    TankBullet,
    Attacker,
    Launcher,
    Rocket,
    Tank,
    Saucer,
    SaucerLaser,
    Spider,
    Crusher,
    Man,
    Pickup,
};

// The kind of the object; Other for null and for objects of no game kind.
ObjectKind KindOf(const kestrum::scenegraph::LayerObject* object);

// The sprites of an enemy that show its hit flash: the enemy itself when it
// is a ghosted sprite, the turret and wheels of a tank; empty otherwise.
std::vector<GhostedSprite*> HitFlashSprites(kestrum::scenegraph::LayerObject* object);
