// Zandrovia: the sprite base of the game's own sprites.
//
// A LayerSprite shows the framework's placeholder picture where its image is
// missing. The game's sprites come from files that may fail to load (the
// loader then leaves the image null and says so), and a missing picture must
// not put a stray placeholder on the screen nor change collisions and ground
// lines: a GameSprite whose current frame has no image draws nothing and
// measures 0 × 0. With an image it is a plain LayerSprite.
//
// Depends on kestrum-scenegraph (LayerSprite).
#pragma once

#include <memory>

#include "kestrum-scenegraph/layersprite.h"

class GameSprite : public kestrum::scenegraph::LayerSprite {
public:
    GameSprite() = default;
    // A sprite placed in the layer or group with one image.
    static std::shared_ptr<GameSprite> New(kestrum::scenegraph::Layer* layer, const platform::ImagePtr& image);
    static std::shared_ptr<GameSprite> New(kestrum::scenegraph::LayerGroup* group, const platform::ImagePtr& image);
    // A sprite placed in the group with the frame array itself (shared).
    static std::shared_ptr<GameSprite> New(kestrum::scenegraph::LayerGroup* group,
                                           kestrum::scenegraph::ImageArray images);

    // The image of the current frame; null where it is missing.
    platform::ImagePtr FrameImage() const;

    using LayerSprite::Height;
    using LayerSprite::Width;
    float Width() const override;
    float Height() const override;
    void Draw(platform::Canvas& canvas) override;
};
