// Pixmap: straight-alpha RGBA pixels in memory, loaded and saved through stb.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include "platform/files.h"
#include "platform/image.h"
#include "platform/stbimage.h"

namespace platform {

namespace {

std::uint8_t ToByte(float v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

Pixmap::Pixmap(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4, 0) {}

std::shared_ptr<Pixmap> Pixmap::Load(std::string_view path) {
    // PNG and JPEG only, known by their signatures (the reader is built for
    // those two alone).
    const std::string bytes = TryLoadString(path).value_or(std::string());
    const bool png = bytes.starts_with(std::string_view("\x89PNG\r\n\x1a\n", 8));
    const bool jpeg = bytes.starts_with("\xFF\xD8\xFF");
    if (!png && !jpeg) return nullptr;
    if (jpeg && !JpegHuffmanTablesSound(bytes)) return nullptr;
    if (bytes.size() > std::size_t(std::numeric_limits<int>::max())) return nullptr;
    const auto* encoded = reinterpret_cast<const stbi_uc*>(bytes.data());
    const int encodedSize = static_cast<int>(bytes.size());
    int width = 0, height = 0, channels = 0;
    // The size comes from the header first. No GL texture is larger than
    // 16384 pixels a side, and no picture of the game comes near 4096 x 4096.
    constexpr int kLargestSide = 16384;
    constexpr long kMostPixels = 4096L * 4096L;
    {
        const DecodeBudget headerBudget(std::size_t{1} << 20);
        if (!stbi_info_from_memory(encoded, encodedSize, &width, &height, &channels) || width > kLargestSide ||
            height > kLargestSide || long(width) * height > kMostPixels) {
            return nullptr;
        }
    }
    // No buffer of a decode needs more than twice the picture's rows at 16
    // bits a channel (8 bytes a pixel and a filter byte a row): the decoder
    // sizes its output for those rows and doubles it when the data holds
    // more, as an interlaced picture's passes do. The 4 MB on top cover the
    // JPEG reader's blocks, which round a thin picture up to 16 pixels.
    const std::size_t rows = std::size_t(width) * std::size_t(height) * 8 + std::size_t(height);
    const DecodeBudget budget(2 * rows + (4u << 20));
    stbi_uc* data = stbi_load_from_memory(encoded, encodedSize, &width, &height, &channels, 4);
    if (data == nullptr) return nullptr;
    // Filled straight from the decoder's bytes: zeroing the pixels first
    // would only be written over.
    auto pixmap = std::make_shared<Pixmap>(0, 0);
    pixmap->width_ = width;
    pixmap->height_ = height;
    pixmap->pixels_.assign(data, data + static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    stbi_image_free(data);
    return pixmap;
}

std::uint32_t Pixmap::GetPixelARGB(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    const std::uint8_t* p = &pixels_[(static_cast<std::size_t>(y) * width_ + x) * 4];
    return (std::uint32_t(p[3]) << 24) | (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
}

void Pixmap::SetPixelARGB(int x, int y, std::uint32_t argb) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    std::uint8_t* p = &pixels_[(static_cast<std::size_t>(y) * width_ + x) * 4];
    p[0] = (argb >> 16) & 0xff;
    p[1] = (argb >> 8) & 0xff;
    p[2] = argb & 0xff;
    p[3] = (argb >> 24) & 0xff;
}

Color Pixmap::GetPixel(int x, int y) const {
    const std::uint32_t argb = GetPixelARGB(x, y);
    return {((argb >> 16) & 0xff) / 255.0f, ((argb >> 8) & 0xff) / 255.0f, (argb & 0xff) / 255.0f,
            (argb >> 24) / 255.0f};
}

void Pixmap::SetPixel(int x, int y, Color color) {
    SetPixelARGB(x, y,
                 (std::uint32_t(ToByte(color.a)) << 24) | (std::uint32_t(ToByte(color.r)) << 16) |
                     (std::uint32_t(ToByte(color.g)) << 8) | ToByte(color.b));
}

void Pixmap::Clear(Color color) {
    const std::uint8_t rgba[4] = {ToByte(color.r), ToByte(color.g), ToByte(color.b), ToByte(color.a)};
    for (std::size_t i = 0; i < pixels_.size(); i += 4) std::copy(rgba, rgba + 4, &pixels_[i]);
}

bool Pixmap::Save(std::string_view path) const {
    if (width_ == 0 || height_ == 0) return false;
    const std::string file = RealPath(path);
    return stbi_write_png(file.c_str(), width_, height_, 4, pixels_.data(), width_ * 4) != 0;
}

void Pixmap::Discard() {
    width_ = height_ = 0;
    std::vector<std::uint8_t>().swap(pixels_);
}

}  // namespace platform
