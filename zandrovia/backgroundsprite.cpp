// Zandrovia: a background image that may turn slowly.
#include "zandrovia/backgroundsprite.h"

#include "kestrum-scenegraph/layer.h"

std::shared_ptr<BackgroundSprite> BackgroundSprite::New(kestrum::scenegraph::Layer* layer,
                                                        const platform::ImagePtr& image, float speed) {
    auto sprite = std::make_shared<BackgroundSprite>();
    sprite->Layer(layer);
    sprite->Image(image);
    if (speed != 0) {
        if (layer) sprite->TaskManager(layer->TaskManager);
        sprite->RotationSpeed = speed;
    }
    return sprite;
}

void BackgroundSprite::OnUpdate() { Rotation += RotationSpeed; }
