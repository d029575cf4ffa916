// Zandrovia: a man released by a destroyed cargo ship.
//
// A man floats upward, spinning, until he leaves the top of the screen or
// the current ship catches him for 1000 points (Player). Consecutive men
// spin in opposite directions (ManSpinSign, player.h). He is a collision
// writer without a score record: shots pass through him.
//
// Depends on gamesprite.h and the game's globals.
#pragma once

#include <memory>

#include "kestrum-scenegraph/objectlist.h"
#include "platform/types.h"
#include "zandrovia/gamesprite.h"

class Man : public GameSprite {
public:
    // Animation frames advanced per update; positive or negative.
    float SpinStep = 0;

    Man() = default;
    // A man in the layer and its task manager at the position, showing the frames.
    static std::shared_ptr<Man> New(kestrum::scenegraph::Layer* layer, kestrum::scenegraph::ImageArray frames,
                                    platform::Vec2f position);

    void OnUpdate() override;
};
