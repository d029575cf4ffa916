// Zandrovia: values of the player's ships shared with the men they catch.
#include "zandrovia/player.h"

int ManSpinSign = 1;
int PlayerFireDelay = 6;
int PlayerTrackerDelay = 30;

void InitPlayerFile() {
    ManSpinSign = 1;
    PlayerFireDelay = 6;
    PlayerTrackerDelay = 30;
}
