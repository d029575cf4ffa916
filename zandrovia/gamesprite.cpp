// Zandrovia: the sprite base of the game's own sprites.
#include "zandrovia/gamesprite.h"

#include "kestrum-scenegraph/layergroup.h"

std::shared_ptr<GameSprite> GameSprite::New(kestrum::scenegraph::Layer* layer, const platform::ImagePtr& image) {
    auto sprite = std::make_shared<GameSprite>();
    sprite->Layer(layer);
    sprite->Image(image);
    return sprite;
}

std::shared_ptr<GameSprite> GameSprite::New(kestrum::scenegraph::LayerGroup* group, const platform::ImagePtr& image) {
    auto sprite = std::make_shared<GameSprite>();
    sprite->Group(group);
    sprite->Image(image);
    return sprite;
}

std::shared_ptr<GameSprite> GameSprite::New(kestrum::scenegraph::LayerGroup* group,
                                            kestrum::scenegraph::ImageArray images) {
    auto sprite = std::make_shared<GameSprite>();
    sprite->Group(group);
    sprite->Images(std::move(images));
    return sprite;
}

platform::ImagePtr GameSprite::FrameImage() const { return kestrum::scenegraph::FrameImage(Images(), Frame); }

float GameSprite::Width() const {
    const platform::ImagePtr image = FrameImage();
    return image ? static_cast<float>(image->Width()) : 0.0f;
}

float GameSprite::Height() const {
    const platform::ImagePtr image = FrameImage();
    return image ? static_cast<float>(image->Height()) : 0.0f;
}

void GameSprite::Draw(platform::Canvas& canvas) {
    if (!FrameImage()) {
        // Only the debug overlays of the base.
        LayerObject::Draw(canvas);
        return;
    }
    LayerSprite::Draw(canvas);
}
