// Zandrovia: the table of level scripts.
#include "zandrovia/levels.h"

std::array<LevelScript, LevelCount> Levels{};

void InitLevelsFile() { Levels.fill(nullptr); }
