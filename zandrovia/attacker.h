// Zandrovia: the flying enemies of the attack waves.
//
// One class serves three kinds, which differ only in what their spawner
// gives them: sawcers (weak, unarmed), hunters (armed: they fire at the
// current ship) and cargo ships (slow to animate; each carries a man who is
// released when the ship is destroyed). An attacker glides across the sky in
// a series of pushes toward random points, slowing by 1% per update, wraps
// around the left and right edges and crashes when it reaches the ground (no
// points, no label, no man).
//
// The level scripts make attackers only through the six static spawners,
// which build a whole wave in GameLayer at once and hand each attacker to
// GameScheduler: attacker n of a call starts delay + n * spacing ms later.
// Attackers are collision writers and count for CountAttackers from the
// moment they are built, also while they still wait for their start.
//
// Depends on ghostedsprite.h, spark.h and the game's globals.
#pragma once

#include <memory>

#include "kestrum-scenegraph/objectlist.h"
#include "platform/types.h"
#include "zandrovia/ghostedsprite.h"
#include "zandrovia/spark.h"

class Attacker : public GhostedSprite {
public:
    // 0: a new glide is chosen in the next update; 1: gliding.
    int Mode = 0;
    // Added to Frame every update.
    float AnimSpeed = 0.5f;
    // Updates left before an armed attacker fires.
    int FireCountdown = 60;
    // Size of its explosion.
    float ExplosionSize = 1.0f;
    // Carries a man.
    bool Cargo = false;
    // A glide ends when both velocity components are smaller than this.
    float StopSpeed = 0.5f;
    // Per-axis impulse at the start of each glide.
    float Thrust = 3.0f;
    // Motion per update.
    platform::Vec2f Velocity{0, 0};
    // The muzzle flash, in the attacker's layer.
    std::shared_ptr<::Spark> Spark;
    // Fires aimed shots.
    bool Armed = false;

    Attacker() = default;
    // An attacker in the layer and its task manager with its frame sets and
    // a score record of the energy and points; a collision writer with an
    // unlit purple spark. It is not placed.
    static std::shared_ptr<Attacker> New(kestrum::scenegraph::Layer* layer, kestrum::scenegraph::ImageArray frames,
                                         kestrum::scenegraph::ImageArray ghostFrames, int energy, int points);

    // The waves: 8 sawcers, 8 hunters or count cargo ships (none for a count
    // of 0 or less) entering over the left or the right edge of the view.
    static void SawcersLeft(int delay, int spacing);
    static void SawcersRight(int delay, int spacing);
    static void HuntersLeft(int delay, int spacing);
    static void HuntersRight(int delay, int spacing);
    static void CargoLeft(int count, int delay, int spacing);
    static void CargoRight(int count, int delay, int spacing);

    // Adds a push toward the point, thrust.x along x and thrust.y along y of
    // the unit direction. The point itself is not kept.
    void SteerTowards(float x, float y, platform::Vec2f thrust);
    // The first glide: a push of 2 to 6 per axis toward the middle of the view.
    void Intro();
    void InitFields();

    void OnUpdate() override;
    // Removes the spark too.
    void Remove() override;
    // Explosion, trails, sound, the released man of a cargo ship and the
    // points label. The points themselves are the destroyer's business.
    void OnOutro(const std::shared_ptr<kestrum::scenegraph::LayerObject>& other) override;

private:
    void Fire_();
    void Spark_();
};
