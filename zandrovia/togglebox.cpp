#include "zandrovia/togglebox.h"

#include "zandrovia/globals.h"

void ToggleBox::OnHit() {
    bool click = false;
    if (Name == "music") click = SoundOn();
    else if (Name == "sound") click = !SoundOn();
    if (click && ImpactSound) ImpactSound->Play();
}

bool SoundOn() {
    return !SoundToggle || SoundToggle->Frame == 0;
}

bool MusicOn() {
    return !MusicToggle || MusicToggle->Frame == 0;
}
