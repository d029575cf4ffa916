// Tile functions. Depend on LayerObject's position setters.
#include "kestrum-scenegraph/tiles.h"

#include <cmath>

#include "kestrum-scenegraph/layerobject.h"

namespace kestrum::scenegraph {

namespace {

float TileIndex(float value, float tileSize, float offset) {
    if (tileSize == 0) return 0;
    return std::floor(value / tileSize - offset);
}

}  // namespace

float IsometricX(float x, float y) { return x - y; }
float IsometricY(float x, float y) { return (x + y) * 0.5f; }

platform::Vec2f CartesianToIsometric(float x, float y) { return {IsometricX(x, y), IsometricY(x, y)}; }
platform::Vec2f CartesianToIsometric(platform::Vec2f point) { return CartesianToIsometric(point.x, point.y); }

platform::Vec2f IsometricToCartesian(float x, float y) { return {(x + 2 * y) * 0.5f, (2 * y - x) * 0.5f}; }
platform::Vec2f IsometricToCartesian(platform::Vec2f point) { return IsometricToCartesian(point.x, point.y); }

platform::Vec2f ScreenToTile(float x, float y, float tileWidth, float tileHeight, float offsetX, float offsetY) {
    return {TileIndex(x, tileWidth, offsetX), TileIndex(y, tileHeight, offsetY)};
}

platform::Vec2f ScreenToTile(platform::Vec2f point, float tileWidth, float tileHeight, float offsetX,
                             float offsetY) {
    return ScreenToTile(point.x, point.y, tileWidth, tileHeight, offsetX, offsetY);
}

platform::Vec2f IsometricToTile(float x, float y, float tileWidth, float tileHeight, float offsetX,
                                float offsetY) {
    // The diamond of tile (0, 0) starts one tile width left of the origin.
    const platform::Vec2f c = IsometricToCartesian(x - tileWidth, y);
    return ScreenToTile(c, tileWidth, tileHeight, offsetX, offsetY);
}

platform::Vec2f IsometricToTile(platform::Vec2f point, float tileWidth, float tileHeight, float offsetX,
                                float offsetY) {
    return IsometricToTile(point.x, point.y, tileWidth, tileHeight, offsetX, offsetY);
}

void PlaceAtTile(LayerObject& object, int column, int row) {
    const int width = TruncToInt(object.Width());
    const int height = TruncToInt(object.Height());
    object.X(static_cast<float>(column * width + TruncToInt(object.Width() * object.HandleX())));
    object.Y(static_cast<float>(row * height + TruncToInt(object.Height() * object.HandleY())));
}

void SnapToTile(LayerObject& object, int x, int y) {
    const int width = TruncToInt(object.Width());
    const int height = TruncToInt(object.Height());
    if (width <= 0 || height <= 0) return;
    PlaceAtTile(object, x / width, y / height);
}

}  // namespace kestrum::scenegraph
