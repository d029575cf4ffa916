// Tile functions: conversions between cartesian and isometric coordinates
// (a 2:1 diamond projection, (x, y) -> (x - y, (x + y) / 2)), between points
// and tile indices, and placing or snapping a layer object onto a tile of a
// grid whose tiles are the object's own size. Tiles are addressed by integer
// column and row counted from 0 at the origin; points left of or above the
// origin fall in tiles -1, -2, ...
#pragma once

#include "platform/types.h"

namespace kestrum::scenegraph {

class LayerObject;

float IsometricX(float x, float y);
float IsometricY(float x, float y);
platform::Vec2f CartesianToIsometric(float x, float y);
platform::Vec2f CartesianToIsometric(platform::Vec2f point);
platform::Vec2f IsometricToCartesian(float x, float y);
platform::Vec2f IsometricToCartesian(platform::Vec2f point);

// The tile holding a point, the offsets counted in tiles. An axis whose tile
// size is 0 gives tile 0 on that axis.
platform::Vec2f ScreenToTile(float x, float y, float tileWidth, float tileHeight, float offsetX = 0,
                             float offsetY = 0);
platform::Vec2f ScreenToTile(platform::Vec2f point, float tileWidth, float tileHeight, float offsetX = 0,
                             float offsetY = 0);
// The tile holding an isometric point.
platform::Vec2f IsometricToTile(float x, float y, float tileWidth, float tileHeight, float offsetX = 0,
                                float offsetY = 0);
platform::Vec2f IsometricToTile(platform::Vec2f point, float tileWidth, float tileHeight, float offsetX = 0,
                                float offsetY = 0);

// Moves the object (through its position setters) so that its box covers
// the tile at column, row of a grid of tiles of its own truncated size.
void PlaceAtTile(LayerObject& object, int column, int row);
// The same for the tile holding the point (x, y), the division truncating
// toward zero. An object narrower or lower than one unit has no tile size
// and is left where it is.
void SnapToTile(LayerObject& object, int x, int y);

}  // namespace kestrum::scenegraph
