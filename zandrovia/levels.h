// Zandrovia: the table of level scripts.
//
// Entry i builds level i at once (level 0 is the tutorial, 1 to 20 are wave
// scripts). An entry may be empty until its script exists; callers check.
#pragma once

#include <array>

using LevelScript = void (*)();

constexpr int LevelCount = 21;
extern std::array<LevelScript, LevelCount> Levels;

// Fills the table; runs at module start after the enemies' initialiser.
void InitLevelsFile();
