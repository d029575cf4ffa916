// Zandrovia: the laser beam of the saucer boss.
#include "zandrovia/saucerlaser.h"

void SaucerLaser::Draw(platform::Canvas& canvas) {
    // The base would draw a plain line without a strip.
    if (!Image()) return;
    LayerLine::Draw(canvas);
}
