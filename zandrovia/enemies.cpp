// Zandrovia: the constants shared by the enemies and their shots.
#include "zandrovia/enemies.h"

int AttackerMargin = 80;
int AttackerBulletSpeed = 12;
int RocketSpeed = 3;
float RocketTurnRate = 0.1f;
int TankBulletSpeed = 8;

void InitEnemiesFile() {
    AttackerMargin = 80;
    AttackerBulletSpeed = 12;
    RocketSpeed = 3;
    RocketTurnRate = 0.1f;
    TankBulletSpeed = 8;
}
