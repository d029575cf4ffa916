// The Zandrovia executable: everything happens in the game module's start-up.
// On Windows SDL_main.h renames main, and SDL's main library calls it with
// the command line in UTF-8.
#include <SDL_main.h>

#include "zandrovia/zandrovia.h"

int main(int, char*[]) {
    return ZandroviaMain();
}
