// Zandrovia: the table of level scripts.
#include "zandrovia/levels.h"

std::array<LevelScript, LevelCount> Levels{};

int CargoEnergy = 10, CargoScore = 100;
int HunterEnergy = 5, HunterScore = 50;
int SawcerEnergy = 3, SawcerScore = 30;
int LauncherEnergy = 25, LauncherScore = 250;
int RocketEnergy = 3, RocketScore = 30;
int TankEnergy = 10, TankScore = 100;
int TankBulletEnergy = 1, TankBulletScore = 10;
int SaucerEnergy = 150, SaucerScore = 1500;
int SpiderEnergy = 125, SpiderScore = 1250;

void InitLevelsFile() {
    Levels.fill(nullptr);
    CargoEnergy = 10, CargoScore = 100;
    HunterEnergy = 5, HunterScore = 50;
    SawcerEnergy = 3, SawcerScore = 30;
    LauncherEnergy = 25, LauncherScore = 250;
    RocketEnergy = 3, RocketScore = 30;
    TankEnergy = 10, TankScore = 100;
    TankBulletEnergy = 1, TankBulletScore = 10;
    SaucerEnergy = 150, SaucerScore = 1500;
    SpiderEnergy = 125, SpiderScore = 1250;
}
