// Atlas builder. Depends on the platform's images.
#include "kestrum-framework/atlasbuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace kestrum::framework::atlasbuilder {

namespace {

std::uint8_t ToByte(float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

}  // namespace

AtlasBuilder::AtlasBuilder(const std::vector<platform::Vec2i>& sizes, int flags, int maxSide, int maxLevel)
    : slots_(sizes.size()) {
    maxLevel = std::clamp(maxLevel, 0, 10);
    const int grid = Spacing(maxLevel);
    if (maxSide <= 0) maxSide = platform::Texture::MaxSize();
    if (maxSide <= 0) maxSide = LargestPage;
    // Pages are whole grid cells, so every mipmap level kept halves them exactly.
    maxSide = std::min(maxSide, LargestPage) / grid * grid;

    // A picture's cell: its size rounded up to the grid, and the gutter after it.
    const auto cell = [grid](int side) { return (side + grid - 1) / grid * grid + grid; };
    std::vector<std::size_t> order;
    std::int64_t area = 0;
    int widest = 0;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const platform::Vec2i size = sizes[i];
        // The gutter before the first cell of a row or column counts too.
        if (size.x <= 0 || size.y <= 0 || size.x > maxSide - 2 * grid || size.y > maxSide - 2 * grid) continue;
        order.push_back(i);
        area += std::int64_t{cell(size.x)} * cell(size.y);
        widest = std::max(widest, cell(size.x));
    }
    if (order.empty()) return;
    // The tallest first, so each shelf wastes little above its lower pictures.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (cell(sizes[a].y) != cell(sizes[b].y)) return cell(sizes[a].y) > cell(sizes[b].y);
        return cell(sizes[a].x) > cell(sizes[b].x);
    });
    // About square pages: a long thin page would mostly be one shelf's waste.
    const int square = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(area))));
    const int width = std::clamp((square + grid - 1) / grid * grid + grid, grid + widest, maxSide);

    std::vector<platform::Vec2i> pageSizes;
    int page = -1;
    int x = 0, y = 0, shelf = 0;
    for (const std::size_t i : order) {
        const int w = cell(sizes[i].x), h = cell(sizes[i].y);
        if (page >= 0 && x + w > width) {
            x = grid;
            y += shelf;
            shelf = 0;
        }
        if (page < 0 || y + h > maxSide) {
            pageSizes.push_back({grid, grid});
            ++page;
            x = y = grid;
            shelf = 0;
        }
        slots_[i] = {page, platform::Recti(x, y, x + sizes[i].x, y + sizes[i].y)};
        x += w;
        shelf = std::max(shelf, h);
        platform::Vec2i& used = pageSizes.back();
        used.x = std::max(used.x, x);
        used.y = std::max(used.y, y + h);
    }
    for (const platform::Vec2i size : pageSizes) {
        auto image = std::make_shared<platform::Image>(std::make_shared<platform::Pixmap>(size.x, size.y), flags);
        image->GetTexture()->MaxMipLevel(maxLevel);
        pages_.push_back(std::move(image));
    }
}

int AtlasBuilder::PageOf(std::size_t i) const { return i < slots_.size() ? slots_[i].page : -1; }

platform::Recti AtlasBuilder::SlotRect(std::size_t i) const {
    return PageOf(i) >= 0 ? slots_[i].rect : platform::Recti{};
}

platform::Pixmap* AtlasBuilder::Target_(std::size_t i, int width, int height) const {
    const int page = PageOf(i);
    if (page < 0 || slots_[i].rect.Width() != width || slots_[i].rect.Height() != height) return nullptr;
    return pages_[static_cast<std::size_t>(page)]->GetTexture()->GetPixmap().get();
}

AtlasBuilder::ImagePtr AtlasBuilder::Finish_(std::size_t i) const {
    const ImagePtr& page = pages_[static_cast<std::size_t>(slots_[i].page)];
    // A page drawn already holds its old pixels on the GPU.
    if (page->GetTexture()->Uploaded()) page->GetTexture()->Update();
    return std::make_shared<platform::Image>(*page, slots_[i].rect);
}

AtlasBuilder::ImagePtr AtlasBuilder::Place(std::size_t i, const platform::Pixmap& pixels) {
    platform::Pixmap* target = Target_(i, pixels.Width(), pixels.Height());
    if (!target) return nullptr;
    const platform::Recti rect = slots_[i].rect;
    const auto row = static_cast<std::size_t>(rect.Width()) * 4;
    for (int y = 0; y < rect.Height(); ++y) {
        std::memcpy(target->Data() + (static_cast<std::size_t>(rect.min.y + y) * target->Width() + rect.min.x) * 4,
                    pixels.Data() + static_cast<std::size_t>(y) * row, row);
    }
    return Finish_(i);
}

AtlasBuilder::ImagePtr AtlasBuilder::PlaceMasked(std::size_t i, const platform::Pixmap& source, platform::Recti from,
                                                 platform::Color tint) {
    if (from.min.x < 0 || from.min.y < 0 || from.max.x > source.Width() || from.max.y > source.Height()) return nullptr;
    platform::Pixmap* target = Target_(i, from.Width(), from.Height());
    if (!target) return nullptr;
    const std::uint8_t rgba[4] = {ToByte(tint.r), ToByte(tint.g), ToByte(tint.b), ToByte(tint.a)};
    const platform::Recti rect = slots_[i].rect;
    for (int y = 0; y < rect.Height(); ++y) {
        const std::uint8_t* in =
            source.Data() + (static_cast<std::size_t>(from.min.y + y) * source.Width() + from.min.x) * 4;
        std::uint8_t* out = target->Data() + (static_cast<std::size_t>(rect.min.y + y) * target->Width() + rect.min.x) * 4;
        for (int x = 0; x < rect.Width(); ++x, in += 4, out += 4) std::memcpy(out, in[3] != 0 ? rgba : in, 4);
    }
    return Finish_(i);
}

}  // namespace kestrum::framework::atlasbuilder
