// Zandrovia: the level scripts and their table.
//
// Entry i of Levels builds level i at once: level 0 is the tutorial, 1 to 20
// are the wave scripts. A script places the ships, the launchers and a
// crusher, builds every tank, attacker wave and boss of the level and hands
// each timed one to GameScheduler (which keeps it disabled until its start),
// sets the pick-ups that destroyed tanks drop (LevelPickups) and shows the
// level's banner (LevelBanner), all within one frame.
//
// A script expects what the game-state machine sets up before calling it:
// the game scene with every layer emptied, both schedulers cleared,
// ShipsAlive 0, no current ship, no pick-up list, TanksDestroyed 0 and
// levelIndex holding the number of the level being started.
//
// The same file holds the energy and points of the enemy kinds and the six
// wave start times that the scripts share.
//
// Depends on the game's actors, globals and game functions.
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

// Start times of the waves in milliseconds of the task clock after a script
// ran; WaveTime0 is also the spacing of a level's tanks.
extern int WaveTime0, WaveTime1, WaveTime2, WaveTime3, WaveTime4, WaveTime5;

// Sets the constants and fills the table; runs at module start after the
// enemies' initialiser.
void InitLevelsFile();

// The tutorial: three ships, a title, five localized hints next to what they
// talk about, then two tanks; no pick-ups.
void Level00();
// The wave scripts.
void Level01();
void Level02();
void Level03();
void Level04();
void Level05();
void Level06();
void Level07();
void Level08();
void Level09();
void Level10();
void Level11();
void Level12();
void Level13();
void Level14();
void Level15();
void Level16();
void Level17();
void Level18();
void Level19();
void Level20();
