// Zandrovia: global functions of play shared by the actors and the screen.
#include "zandrovia/gamefunctions.h"

#include <limits>

#include "kestrum-scenegraph/camera.h"
#include "kestrum-scenegraph/layersprite.h"
#include "zandrovia/globals.h"
#include "zandrovia/togglebox.h"

float GroundLine() {
    if (!soil) return std::numeric_limits<float>::infinity();
    return soil->Y() - soil->Height() / 2;
}

float ViewWidth() { return GameCamera ? static_cast<float>(GameCamera->VirtualWidth()) : 0.0f; }

float ViewHeight() { return GameCamera ? static_cast<float>(GameCamera->VirtualHeight()) : 0.0f; }

platform::ChannelPtr PlaySfx(const platform::SoundPtr& sound, float rate, float volume) {
    if (!sound || !SoundOn()) return nullptr;
    platform::ChannelPtr channel = sound->Play(false);
    if (!channel) return nullptr;
    if (volume != 1.0f) channel->Volume(volume);
    if (rate != 1.0f) channel->Rate(rate);
    return channel;
}
