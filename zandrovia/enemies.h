// Zandrovia: the constants shared by the enemies and their shots.
//
// InitEnemiesFile() gives them their values at module start, after the
// constants and globals files and before the levels file.
#pragma once

// Distance kept from the view's edges and from the ground when an attacker
// picks a point to glide to.
extern int AttackerMargin;
// Speed of an AttackerBullet in units per update.
extern int AttackerBulletSpeed;
// Climb per update of a rocket on its pad, and its flight speed.
extern int RocketSpeed;
// Radians per update by which a rocket turns.
extern float RocketTurnRate;
// Speed of a TankBullet in units per update.
extern int TankBulletSpeed;

void InitEnemiesFile();
