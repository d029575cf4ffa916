// Shape objects: layer objects that draw plain geometry in their colour
// instead of images. LayerRectangle draws a filled rectangle or a frame,
// LayerPolygon a closed or open chain of lines through its points, and
// LayerEllipse a filled ellipse. Rectangles and polygons can also be drawn in
// isometric projection (Orientation 1). They share everything else with
// LayerObject (position, size, handle, scale, rotation, colour, blend mode,
// filing, point and collision tests) and override only Draw, which draws no
// debug overlays.
//
// PixmapToTilemap turns a small picture into a grid of coloured rectangles,
// one per opaque pixel: a quick tile map or level mock-up.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kestrum-scenegraph/layerobject.h"
#include "platform/canvas.h"
#include "platform/image.h"
#include "platform/types.h"

namespace kestrum::scenegraph {

class Layer;

class LayerRectangle : public LayerObject {
public:
    LayerRectangle() = default;
    // A rectangle of that size on no layer.
    LayerRectangle(float width, float height);
    // A rectangle put on the layer (null: none), then given its size.
    static std::shared_ptr<LayerRectangle> New(scenegraph::Layer* layer);
    static std::shared_ptr<LayerRectangle> New(scenegraph::Layer* layer, float width, float height);

    // 0 orthogonal, 1 isometric; any other value draws nothing.
    int Orientation = 0;
    // 0 draws the rectangle filled; any other value a frame of that
    // thickness inside the bounds (orthogonal only).
    int OutlineWidth = 1;

    void Draw(platform::Canvas& canvas) override;
};

class LayerPolygon : public LayerObject {
public:
    LayerPolygon() = default;
    static std::shared_ptr<LayerPolygon> New(scenegraph::Layer* layer);
    // On the layer, then the points (a flat x1, y1, x2, y2, ... list), then the type.
    static std::shared_ptr<LayerPolygon> New(scenegraph::Layer* layer, const std::vector<float>& vertices,
                                             int type);

    // 0 orthogonal, 1 isometric; any other value draws nothing.
    int Orientation = 0;
    // 1 the closed outline through all points, 2 the open chain from the
    // first to the last; any other value draws nothing.
    int Type = 1;
    // The points in the object's own units: (0, 0) is the top-left corner of
    // the object's box.
    std::vector<platform::Vec2f> VertexList;

    // Takes the points as a flat list (a trailing odd value is ignored) and
    // sets the size to the extent of the points and the origin, each
    // coordinate truncated toward zero. The size is stored directly: the
    // object is not re-filed.
    void Vertices(const std::vector<float>& values);
    // The points as a new flat list.
    std::vector<float> Vertices() const;

    void Draw(platform::Canvas& canvas) override;

private:
    void DrawPoly_(platform::Canvas& canvas);
    void DrawPolyLine_(platform::Canvas& canvas);
};

class LayerEllipse : public LayerObject {
public:
    LayerEllipse() = default;
    static std::shared_ptr<LayerEllipse> New(scenegraph::Layer* layer);
    // Height and width set first, then put on the layer.
    static std::shared_ptr<LayerEllipse> New(scenegraph::Layer* layer, float width, float height);

    // Stored (scene files set it) but not used when drawing.
    int Orientation = 0;

    // A filled ellipse centred on the position with the radii Width() and
    // Height(), so it spans twice the object's size. Rotation, scale and
    // handle are not applied.
    void Draw(platform::Canvas& canvas) override;
};

// One rectangle of the layer's cell size per pixel whose alpha is not 0,
// placed on the tile (offsetX + x, offsetY + y), shrunk by the gap about its
// centre and coloured by the pixel (alpha 1). Created column by column, top
// to bottom within a column. Nothing for a null layer.
void PixmapToTilemap(scenegraph::Layer* layer, const platform::Pixmap& pixmap, int offsetX, int offsetY, int gap,
                     int outlineWidth);
// The same with the image file at a content path; nothing when it does not load.
void PixmapToTilemap(scenegraph::Layer* layer, const std::string& path, int offsetX, int offsetY, int gap,
                     int outlineWidth);

}  // namespace kestrum::scenegraph
