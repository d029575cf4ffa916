// Zandrovia: the auto-laser and the tracker's target.
//
// While the player holds laser ammunition the current ship fires its laser
// on its own: a short beam at the nearest enemy or enemy shot within reach
// (LASER_RANGE, a Manhattan distance) that destroys its target at the end of
// a burst of six updates; each burst costs one unit of ammunition. The
// tracker shots of the ship fly at TrackerTarget, the first enemy of
// GameLayer, chosen here once a first laser target has been found. The Game
// screen runs these each update while the task clock runs, in this order:
// UpdateClosestLaserTarget on GameLayer, then on BulletsLayer,
// UpdateClosestTrackerTarget on GameLayer, UpdateLaser.
//
// Depends on the game's globals, actors and object kinds.
#pragma once

namespace kestrum::scenegraph {
class Layer;
}

// An enabled attacker, attacker shot, rocket or tank shell of the layer
// within reach of the current ship may replace LaserTarget: when there is
// none (or it is disabled), or when it is farther than the candidate. The
// target does not change during a burst and is never set back to null.
void UpdateClosestLaserTarget(kestrum::scenegraph::Layer* layer);
// TrackerTarget becomes the first enabled attacker, rocket, tank or spider
// of the layer (null when there is none, or before any laser target).
void UpdateClosestTrackerTarget(kestrum::scenegraph::Layer* layer);
// Runs the beam from the current ship to LaserTarget: a burst starts at
// alpha 1, fades by 0.2 per update, and when it drops below 0 destroys its
// target (an enemy shot also scores its points with a green label). Without
// play, a ship or a target the beam is off; a burst starts only with
// ammunition, and one that has started runs to its end.
void UpdateLaser();
