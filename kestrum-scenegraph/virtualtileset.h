// VirtualTileset: cuts one tile-set image into equally sized tiles and
// registers each, as a sub-image sharing the image's texture, under a
// generated name in the module cache VirtualTilesetContent, from which
// GetTileImage returns a tile by its index. The name of a tile is the image
// path without its extension, a ".", and the index, counted row by row from
// 0 (tiles/ground.png gives tiles/ground.0, tiles/ground.1, ...).
//
// The tiles stay registered for the rest of the run. A name that is
// registered already keeps its first image and handle, so a second tile set
// from the same image path replaces nothing.
#pragma once

#include <memory>
#include <string>

#include "platform/image.h"
#include "platform/types.h"

namespace kestrum::scenegraph {

class VirtualTileset {
public:
    VirtualTileset() = default;
    VirtualTileset(const std::string& path, int tileWidth, int tileHeight, int margin, int spacing,
                   platform::Vec2f handle, platform::Shader* shader = nullptr);

    // Loads the image through VirtualTilesetContent, fills the fields and
    // registers the tiles. An image that does not load gives no tiles (the
    // sizes and counts stay 0) and prints "Image not found: <path>"; a tile
    // width or height that, with the spacing, is not positive gives none either.
    void Create(const std::string& path, int tileWidth, int tileHeight, int margin, int spacing,
                platform::Vec2f handle, platform::Shader* shader = nullptr);
    // The tile of that index; null when there is none.
    std::shared_ptr<platform::Image> GetTileImage(int index) const;

    int ImageHeight = 0;
    std::string Path;
    int ImageWidth = 0;
    int Margin = 0;
    int Spacing = 0;
    int TileHeight = 0;
    int TileWidth = 0;
    int Rows = 0;
    int Columns = 0;

private:
    std::string TileName(int index) const;
};

}  // namespace kestrum::scenegraph
