// Zandrovia: a short, decaying jolt of a camera.
#include "zandrovia/screenshake.h"

#include "kestrum-scenegraph/camera.h"
#include "platform/clock.h"

ScreenShake::ScreenShake(std::shared_ptr<kestrum::scenegraph::Camera> target) : Target(std::move(target)) {}

void ScreenShake::Shake(int magnitude, float decay) {
    if (Active) return;
    if (Target) {
        OrigX = Target->X();
        OrigY = Target->Y();
    }
    Magnitude = static_cast<float>(magnitude);
    Decay = decay;
    Active = true;
}

void ScreenShake::Update() {
    if (!Active) return;
    const float old = Magnitude;
    Magnitude = old * Decay;
    const float x = Magnitude / 2 - static_cast<float>(platform::Rnd(old)) + OrigX;
    const float y = Magnitude / 2 - static_cast<float>(platform::Rnd(old)) + OrigY;
    if (Target) {
        Target->X(x);
        Target->Y(y);
    }
    if (static_cast<int>(Magnitude) == 0) {
        if (Target) {
            Target->X(OrigX);
            Target->Y(OrigY);
        }
        Active = false;
    }
}
