// Zandrovia: animations packed onto shared atlas pages.
//
// Every animation frame as a texture of its own made the canvas start a new
// batch at nearly every sprite of the game layer. A SpriteAtlas holds a group
// of animations that are drawn next to each other (the ships and enemies with
// their hit-flash sets, the tank's wheels with its turret) on as few pages as
// the texture size allows; each frame stays an image of its own size with its
// handle at its centre, a sub-image of its page.
//
// Single pictures drawn with them (the launcher's foot, the ships' shield)
// can be held as animations of one frame.
//
// The loader decodes each animation, and later its flash set, in a step of
// its own, while a page must have its final size before the first frame is
// cut from it. So the atlas first reads the size of every frame from its
// file's header (Prepare, a few animations at a time if the caller likes)
// and then lays the pages out, keeping a slot for every frame and, for an
// animation with a flash set, one for each flash frame; Frames and Flash
// then fill the slots of one animation.
//
// A frame whose file cannot be loaded prints "Image not found: " and its path
// and stays null; a frame that has no slot (a file whose header could not be
// read, or one that decoded to another size than its header named) becomes
// an image of its own, so nothing is lost.
//
// Depends on kestrum-framework (AtlasBuilder, MaskImage) and the scene
// graph's ImageArray.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "kestrum-framework/atlasbuilder.h"
#include "kestrum-scenegraph/objectlist.h"
#include "platform/image.h"

class SpriteAtlas {
public:
    struct Animation {
        // The frames' path as LoadAnimation takes it (frame.png for frame0000.png, ...).
        std::string Path;
        int Count = 0;
        // Whether a slot is kept for a flash copy of every frame.
        bool Flash = false;
        // One picture at Path itself rather than numbered frames (Count 1).
        bool Single = false;
    };

    // Reads nothing yet.
    explicit SpriteAtlas(std::vector<Animation> animations);

    // Reads the frame sizes of up to count more animations from their files'
    // headers and, once every size is known, lays the pages out; true when
    // they are laid out. Frames, Flash and Pages prepare whatever is left.
    bool Prepare(std::size_t count = static_cast<std::size_t>(-1));

    // The frames of animation index, decoded from their files; with a tint
    // other than (0, 0, 0, 0) silhouettes of the tint (every pixel whose
    // alpha is not 0 takes it). Null for a count of 0 or less and for an
    // index beyond the animations.
    kestrum::scenegraph::ImageArray Frames(std::size_t index, platform::Color tint);
    // The flash set of animation index: silhouettes in the tint of its loaded
    // frames, copied from their pixels without decoding a file again. A frame
    // that did not load is read from its file (and reported as Frames
    // does); frames that do not match the animation's count are ignored and
    // every flash frame is read from its file.
    kestrum::scenegraph::ImageArray Flash(std::size_t index, const kestrum::scenegraph::ImageArray& frames,
                                          platform::Color tint);

    const std::vector<kestrum::framework::AtlasBuilder::ImagePtr>& Pages();

private:
    // The first slot of the frames (flash: of the flash frames) of animation index.
    std::size_t FirstSlot_(std::size_t index, bool flash) const;
    // The file of frame i of animation index.
    std::string FramePath_(std::size_t index, int i) const;
    platform::ImagePtr LoadFrame_(const std::string& framePath, std::size_t slot, platform::Color tint);

    std::vector<Animation> animations_;
    std::vector<std::size_t> firstSlots_;
    // The sizes of the slots read so far, of the first firstSlots_.size() animations.
    std::vector<platform::Vec2i> sizes_;
    std::unique_ptr<kestrum::framework::AtlasBuilder> builder_;
};

// The width and height a PNG file's header names; (0, 0) when the file
// cannot be read or is no PNG.
platform::Vec2i PngSize(const std::string& diskPath);
