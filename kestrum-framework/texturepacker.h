// Texture-atlas reader: cuts named sub-images out of one atlas image,
// following a text description of one "name:x:y:width:height" line per
// picture. The sub-images share the atlas's texture, so no pixels are copied.
// A line counts only when it splits at ":" into exactly five fields; numbers
// are read as leading integers (0 when a field holds none).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/image.h"

namespace kestrum::framework::texturepacker {

class TexturePacker {
public:
    using ImagePtr = std::shared_ptr<platform::Image>;

    // One counting line of a description: its name and the rectangle from
    // (x, y) to (x + width, y + height). Corners beyond the Int range are
    // clamped to it; cutting clips the rectangle to the atlas in any case.
    struct Entry {
        std::string Name;
        platform::Recti Rect;
    };
    // The entry of a line, or nothing when it does not split at ":" into
    // exactly five fields. The scene loader's atlas blocks read lines so too.
    static std::optional<Entry> ReadEntry(std::string_view line);

    // images followed by one sub-image per counting line, in line order.
    // With a null atlas nothing is cut and images comes back as it was.
    static std::vector<ImagePtr> GrabImages(const ImagePtr& atlas, std::string_view text,
                                            std::vector<ImagePtr> images = {});
    // The sub-image of the first counting line that begins with name (so
    // "ship" also matches a line "shipbig:..."); null when none does.
    static ImagePtr GrabImage(const ImagePtr& atlas, std::string_view text, std::string_view name);
};

}  // namespace kestrum::framework::texturepacker

namespace kestrum::framework {
using namespace texturepacker;
}
