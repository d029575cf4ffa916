// Virtual tile set. Depends on the scene graph's module caches.
#include "kestrum-scenegraph/virtualtileset.h"

#include <cstdio>

#include "kestrum-framework/contentmanager.h"
#include "kestrum-scenegraph/scenegraph.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kestrum::scenegraph {

namespace {

// How many tiles of the step fit into the length; 0 when the step is not positive.
int TileCount(int length, int step) { return step > 0 ? length / step : 0; }

std::shared_ptr<framework::ContentManager> Cache() {
    if (!VirtualTilesetContent) InitScenegraphModule();
    return VirtualTilesetContent;
}

}  // namespace

VirtualTileset::VirtualTileset(const std::string& path, int tileWidth, int tileHeight, int margin, int spacing,
                               platform::Vec2f handle, platform::Shader* shader) {
    Create(path, tileWidth, tileHeight, margin, spacing, handle, shader);
}

void VirtualTileset::Create(const std::string& path, int tileWidth, int tileHeight, int margin, int spacing,
                            platform::Vec2f handle, platform::Shader* shader) {
    auto cache = Cache();
    const auto image = cache->GetImage(path, shader, platform::TextureFlags::FilterMipmap);
    Path = path;
    TileWidth = tileWidth;
    TileHeight = tileHeight;
    Margin = margin;
    Spacing = spacing;
    ImageWidth = image ? image->Width() : 0;
    ImageHeight = image ? image->Height() : 0;
    Columns = TileCount(ImageWidth, tileWidth + spacing);
    Rows = TileCount(ImageHeight, tileHeight + spacing);
    if (!image) {
        std::printf("Image not found: %s\n", path.c_str());
        std::fflush(stdout);
        return;
    }
    if (Rows <= 0) return;
    int index = 0;
    for (int row = 0; row < Rows; ++row) {
        for (int column = 0; column < Columns; ++column) {
            const int x = margin + column * (tileWidth + spacing);
            const int y = margin + row * (tileHeight + spacing);
            auto tile = std::make_shared<platform::Image>(*image, platform::Recti(x, y, x + tileWidth, y + tileHeight));
            if (auto added = cache->AddImage(tile, TileName(index))) added->Handle(handle);
            ++index;
        }
    }
}

std::string VirtualTileset::TileName(int index) const { return platform::StripExt(Path) + "." + platform::FromInt(index); }

std::shared_ptr<platform::Image> VirtualTileset::GetTileImage(int index) const {
    return Cache()->GetImage(TileName(index), nullptr, platform::TextureFlags::FilterMipmap);
}

}  // namespace kestrum::scenegraph
