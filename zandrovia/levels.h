// Zandrovia: the table of level scripts.
//
// Entry i builds level i at once (level 0 is the tutorial, 1 to 20 are wave
// scripts). An entry may be empty until its script exists; callers check.
#pragma once

#include <array>

using LevelScript = void (*)();

constexpr int LevelCount = 21;
extern std::array<LevelScript, LevelCount> Levels;

// Energy (hit points) and points (awarded to the destroyer) of the enemy kinds.
extern int CargoEnergy, CargoScore;
extern int HunterEnergy, HunterScore;
extern int SawcerEnergy, SawcerScore;
extern int LauncherEnergy, LauncherScore;
extern int RocketEnergy, RocketScore;
extern int TankEnergy, TankScore;
extern int TankBulletEnergy, TankBulletScore;
extern int SaucerEnergy, SaucerScore;
extern int SpiderEnergy, SpiderScore;

// Fills the table; runs at module start after the enemies' initialiser.
void InitLevelsFile();
