// Zandrovia: a ship of the player's squadron.
//
// A level script builds several ships on their start spots; one of them,
// CurrentPlayer, is steered by the mouse drag (the Game screen adds the
// drag to its Velocity), fires on its own while play is on, and collects
// men and pick-ups. A click on another ship makes that one current. Ships
// that are not current drift to a stop, animate in grey and can still be
// hit. A ship is lost when its energy runs out, when it touches the ground,
// or at once when a crusher, a rocket or the saucer's beam meets it; losing
// the last ship during play ends the game.
//
// The ship is a group in GameLayer holding its animated sprite, its shield
// bubble (with a score record of its own: the shield's strength) and two
// muzzle flashes. It is a collision reader: OnCollision reacts to each kind
// of writer it touches.
//
// Depends on kestrum-scenegraph (LayerGroup), the game's actors and globals.
#pragma once

#include <memory>

#include "kestrum-scenegraph/layergroup.h"
#include "platform/types.h"
#include "zandrovia/gamesprite.h"
#include "zandrovia/ghostedsprite.h"
#include "zandrovia/spark.h"

class Pickup;

// Sign of the next man's animation step; each new man takes it and negates it.
extern int ManSpinSign;
// The ship's firing cool-down in updates (a burst every 7 updates).
extern int PlayerFireDelay;
// The ship's tracker cool-down in updates (a tracker shot every 31 updates).
extern int PlayerTrackerDelay;

// Runs at module start after the constants and globals.
void InitPlayerFile();

class Player : public kestrum::scenegraph::LayerGroup {
public:
    // Updates left before the next burst of shots.
    int FireCooldown = PlayerFireDelay;
    std::shared_ptr<GhostedSprite> Ship;
    // The shield bubble; its score record's energy is the shield's strength.
    std::shared_ptr<GameSprite> Shield;
    // Alpha step per update of the shield's pulse; 0: no pulse.
    float ShieldFade = 0;
    // Muzzle flashes of normal and tracker shots.
    std::shared_ptr<::Spark> Spark;
    std::shared_ptr<::Spark> TrackerSpark;
    // Updates left before the next tracker shot.
    int TrackerCooldown = PlayerTrackerDelay;
    // Motion per update.
    platform::Vec2f Velocity{0, 0};

    Player() = default;
    // A ship in the layer and its task manager on the position. The first
    // ship built while there is no current ship becomes the current one.
    static std::shared_ptr<Player> New(kestrum::scenegraph::Layer* layer, platform::Vec2i position);

    void OnUpdate() override;
    // The ship leaves play: one ship fewer; the last one lost during play
    // ends the game. A second call does nothing.
    void Remove() override;
    // The ship's explosion (and a shake of the camera for the current ship).
    void OnOutro(const std::shared_ptr<kestrum::scenegraph::LayerObject>& other) override;
    void OnCollision(const std::shared_ptr<kestrum::scenegraph::LayerObject>& other) override;
    bool CollisionMethod(const std::shared_ptr<kestrum::scenegraph::LayerObject>& other) override;

private:
    bool IsCurrent_() const;
    void UpdateScoreSystem_(const std::shared_ptr<kestrum::scenegraph::LayerObject>& other);
    void ShieldUpdate_();
    void FireTracker_();
    void Fire_();
    void Pickups_(const std::shared_ptr<Pickup>& pickup);

    bool Removed_ = false;
};
