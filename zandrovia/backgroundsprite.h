// Zandrovia: a background image that may turn slowly.
//
// The level backdrops (gas clouds and planets) are BackgroundSprites. Only a
// sprite with a rotation speed joins its layer's task manager, so a still
// one is never updated.
//
// Depends on gamesprite.h.
#pragma once

#include <memory>

#include "zandrovia/gamesprite.h"

class BackgroundSprite : public GameSprite {
public:
    // Radians added to Rotation per update.
    float RotationSpeed = 0;

    BackgroundSprite() = default;
    // A sprite in the layer showing the image, turning by speed per update.
    static std::shared_ptr<BackgroundSprite> New(kestrum::scenegraph::Layer* layer, const platform::ImagePtr& image,
                                                 float speed);

    void OnUpdate() override;
};
