// Zandrovia: the Game screen's start and game-state machine (a first
// version: a new start and the states change nothing).
#include "zandrovia/zandrovia.h"

void Game::OnStart() {}

void Game::GameStates_() {}
