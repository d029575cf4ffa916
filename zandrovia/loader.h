// Zandrovia: the loader screen, the first screen the player sees.
//
// Shows the splash image with a thin green progress bar while its script
// loads the game's sounds, particle effects, sprite animations and single
// images, one step per frame (the framework's LoaderScreen grants the steps),
// then hands over to its next screen, the Game screen. Every result goes to
// a global of globals.h. A missing image or frame prints "Image not found: "
// with its path and stays null, a missing or unreadable particle file
// "Particle file not found: " with its path; loading goes on. The
// animations of the ships, enemies and pick-ups and their flash sets are
// packed onto shared atlas pages (SpriteAtlas); the two bosses keep a
// texture per frame.
//
// Depends on kestrum-framework (LoaderScreen, DrawProgressBar),
// kestrum-scenegraph (the splash scene), the sprite atlas and the game's
// globals.
#pragma once

#include <memory>
#include <string>

#include "kestrum-framework/loaderscreen.h"
#include "kestrum-scenegraph/objectlist.h"
#include "platform/canvas.h"
#include "platform/image.h"

namespace kestrum::scenegraph {
class Scene;
}
class PooledEmitter;
class SpriteAtlas;

class Loader : public kestrum::framework::LoaderScreen {
public:
    // Builds the splash scene; becomes the current screen.
    Loader();
    ~Loader() override;

    // The splash: one camera, one layer, one sprite.
    std::shared_ptr<kestrum::scenegraph::Scene> Scene;

    // Updates the splash; Escape ends the program at once without saving.
    void OnUpdate() override;
    // One load step (through the framework), the splash and the progress bar.
    void OnRender(platform::Canvas& canvas) override;
    // The asset script: 61 steps, 69 with DebugPrints on.
    void OnLoad() override;

private:
    // The pages the animations of the ships, enemies and pick-ups are packed
    // onto, made at the first step that loads one of them.
    std::unique_ptr<SpriteAtlas> Fleet_;
};

// One image with its handle at its centre; null (after "Image not found: "
// and the path) when it cannot be loaded.
platform::ImagePtr LoadImage(const std::string& path);

// count numbered frames: the file name's extension dot becomes a four-digit
// frame number and the dot (frame.png → frame0000.png, frame0001.png, ...).
// With a tint other than (0, 0, 0, 0) each frame is a silhouette: every pixel
// whose alpha is not 0 takes the tint. Each frame's handle is its centre; a
// frame that cannot be loaded prints "Image not found: " and its path and
// stays null. Null for a count of 0 or less.
kestrum::scenegraph::ImageArray LoadAnimation(const std::string& path, int count, platform::Color tint);

// The particle effect of a particle file; a file that cannot be read prints
// "Particle file not found: " and its path, and gives an effect that emits
// nothing.
std::shared_ptr<PooledEmitter> LoadEmitter(const std::string& path);

// The numbered path of frame index of an animation path.
std::string AnimationFramePath(const std::string& path, int index);
