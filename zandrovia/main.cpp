// The Zandrovia executable: everything happens in the game module's start-up.
#include "zandrovia/zandrovia.h"

int main() {
    return ZandroviaMain();
}
