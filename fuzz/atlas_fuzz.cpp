// The texture-atlas reader: a description cut out of an atlas whose size
// comes from the input.
#include <memory>
#include <string>

#include "fuzzsupport.h"
#include "kestrum-framework/texturepacker.h"
#include "platform/image.h"

namespace fw = kestrum::framework;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::Start();
    fuzzsupport::Input input(data, size);
    const int width = input.Int(1, 256), height = input.Int(1, 256);
    const std::string name = input.Line();
    const std::string text(input.Rest());
    const auto atlas = std::make_shared<platform::Image>(std::make_shared<platform::Pixmap>(width, height));
    for (const auto& image : fw::TexturePacker::GrabImages(atlas, text)) {
        if (!image) fuzzsupport::Fail("a null sub-image");
        const platform::Recti rect = image->Rect();
        if (rect.min.x < 0 || rect.min.y < 0 || rect.max.x > width || rect.max.y > height ||
            image->Width() < 0 || image->Height() < 0) {
            fuzzsupport::Fail("a sub-image outside the atlas");
        }
    }
    fw::TexturePacker::GrabImage(atlas, text, name);
    fw::TexturePacker::GrabImages(nullptr, text);
    return 0;
}
