// Image loading (PNG and JPEG through the image decoder), as the content
// cache loads pictures: a plain image and a lit one.
#include "fuzzsupport.h"
#include "platform/image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::Start();
    const std::string path =
        fuzzsupport::WriteFile("picture.png", std::string_view(reinterpret_cast<const char*>(data), size));
    if (const auto pixmap = platform::Pixmap::Load(path)) {
        if (pixmap->Width() <= 0 || pixmap->Height() <= 0) fuzzsupport::Fail("an empty picture loaded");
        pixmap->GetPixelARGB(pixmap->Width() - 1, pixmap->Height() - 1);
    }
    platform::Image::LoadLight(path);
    return 0;
}
