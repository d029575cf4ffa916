// Shape objects and PixmapToTilemap. Depend on LayerObject, the layer's cell
// size and the tile functions.
#include "kestrum-scenegraph/layershape.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "kestrum-framework/assetpath.h"
#include "kestrum-framework/axissign.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/tiles.h"

namespace kestrum::scenegraph {

namespace {

using platform::Vec2f;

Vec2f Iso(Vec2f p) { return CartesianToIsometric(p); }
Vec2f Iso(float x, float y) { return CartesianToIsometric(x, y); }

void Line(platform::Canvas& canvas, Vec2f a, Vec2f b) { canvas.DrawLine(a.x, a.y, b.x, b.y); }

// Pushes the canvas matrix and moves it into the object's space: to its
// position (projected when isometric), turned, scaled and shifted by the
// handle offset; then sets the object's blend mode and colour.
void Enter(platform::Canvas& canvas, const LayerObject& object, bool isometric, Vec2f handleOffset) {
    canvas.PushMatrix();
    if (isometric) {
        canvas.Translate(IsometricX(object.X(), object.Y()), IsometricY(object.X(), object.Y()));
    } else {
        canvas.Translate(object.X(), object.Y());
    }
    canvas.Rotate(static_cast<float>(framework::RotationSign) * object.Rotation);
    canvas.Scale(object.ScaleX(), object.ScaleY());
    canvas.Translate(handleOffset.x, handleOffset.y);
    canvas.BlendMode(object.BlendMode);
    canvas.Color(object.Brightness(object.Color));
}

Vec2f HandleOffset(const LayerObject& object, float sign) {
    return {sign * object.HandleX() * object.Width(), sign * object.HandleY() * object.Height()};
}

}  // namespace

// --- LayerRectangle ----------------------------------------------------------

LayerRectangle::LayerRectangle(float width, float height) {
    Width(width);
    Height(height);
}

std::shared_ptr<LayerRectangle> LayerRectangle::New(scenegraph::Layer* layer) {
    auto rectangle = std::make_shared<LayerRectangle>();
    if (layer != nullptr) rectangle->Layer(layer);
    return rectangle;
}

std::shared_ptr<LayerRectangle> LayerRectangle::New(scenegraph::Layer* layer, float width, float height) {
    auto rectangle = New(layer);
    rectangle->Width(width);
    rectangle->Height(height);
    return rectangle;
}

void LayerRectangle::Draw(platform::Canvas& canvas) {
    const float w = Width();
    const float h = Height();
    if (Orientation == 0) {
        Enter(canvas, *this, false, HandleOffset(*this, -1));
        if (OutlineWidth == 0) {
            canvas.DrawRect(0, 0, w, h);
        } else {
            const auto t = static_cast<float>(OutlineWidth);
            canvas.DrawRect(0, 0, w, t);
            canvas.DrawRect(0, t, t, h - 2 * t);
            canvas.DrawRect(0, h - t, w, t);
            canvas.DrawRect(w - t, t, t, h - 2 * t);
        }
        canvas.PopMatrix();
    } else if (Orientation == 1) {
        Enter(canvas, *this, true, HandleOffset(*this, -1));
        Line(canvas, Iso(0, 0), Iso(w, 0));
        Line(canvas, Iso(w, 0), Iso(w, h));
        Line(canvas, Iso(w, h), Iso(0, h));
        Line(canvas, Iso(0, h), Iso(0, 0));
        canvas.PopMatrix();
    }
}

// --- LayerPolygon ------------------------------------------------------------

std::shared_ptr<LayerPolygon> LayerPolygon::New(scenegraph::Layer* layer) {
    auto polygon = std::make_shared<LayerPolygon>();
    if (layer != nullptr) polygon->Layer(layer);
    return polygon;
}

std::shared_ptr<LayerPolygon> LayerPolygon::New(scenegraph::Layer* layer, const std::vector<float>& vertices,
                                                int type) {
    auto polygon = New(layer);
    polygon->Vertices(vertices);
    polygon->Type = type;
    return polygon;
}

void LayerPolygon::Vertices(const std::vector<float>& values) {
    const std::size_t count = values.size() / 2;
    VertexList.clear();
    // The extent starts at the origin, so the origin always lies inside it.
    int minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const Vec2f point{values[2 * k], values[2 * k + 1]};
        VertexList.push_back(point);
        minX = std::min(minX, TruncToInt(point.x));
        maxX = std::max(maxX, TruncToInt(point.x));
        minY = std::min(minY, TruncToInt(point.y));
        maxY = std::max(maxY, TruncToInt(point.y));
    }
    // Summed as doubles: the truncated extremes may be as far apart as the Int range.
    Width_ = static_cast<float>(std::abs(static_cast<double>(minX)) + std::abs(static_cast<double>(maxX)));
    Height_ = static_cast<float>(std::abs(static_cast<double>(minY)) + std::abs(static_cast<double>(maxY)));
}

std::vector<float> LayerPolygon::Vertices() const {
    std::vector<float> values;
    values.reserve(VertexList.size() * 2);
    for (const auto& point : VertexList) {
        values.push_back(point.x);
        values.push_back(point.y);
    }
    return values;
}

void LayerPolygon::Draw(platform::Canvas& canvas) {
    if (Type == 1) {
        DrawPoly_(canvas);
    } else if (Type == 2) {
        DrawPolyLine_(canvas);
    }
}

void LayerPolygon::DrawPoly_(platform::Canvas& canvas) {
    if (VertexList.empty() || (Orientation != 0 && Orientation != 1)) return;
    const bool isometric = Orientation == 1;
    Enter(canvas, *this, isometric, isometric ? Vec2f{0, 0} : HandleOffset(*this, -1));
    const std::size_t n = VertexList.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Vec2f a = VertexList[i];
        const Vec2f b = VertexList[(i + 1) % n];
        if (isometric) {
            Line(canvas, Iso(a), Iso(b));
        } else {
            Line(canvas, a, b);
        }
    }
    canvas.PopMatrix();
}

void LayerPolygon::DrawPolyLine_(platform::Canvas& canvas) {
    if (VertexList.size() < 2 || (Orientation != 0 && Orientation != 1)) return;
    const bool isometric = Orientation == 1;
    Enter(canvas, *this, isometric, HandleOffset(*this, isometric ? 1.0f : -1.0f));
    for (std::size_t i = 1; i < VertexList.size(); ++i) {
        if (isometric) {
            Line(canvas, Iso(VertexList[i - 1]), Iso(VertexList[i]));
        } else {
            Line(canvas, VertexList[i - 1], VertexList[i]);
        }
    }
    canvas.PopMatrix();
}

// --- LayerEllipse ------------------------------------------------------------

std::shared_ptr<LayerEllipse> LayerEllipse::New(scenegraph::Layer* layer) {
    auto ellipse = std::make_shared<LayerEllipse>();
    if (layer != nullptr) ellipse->Layer(layer);
    return ellipse;
}

std::shared_ptr<LayerEllipse> LayerEllipse::New(scenegraph::Layer* layer, float width, float height) {
    auto ellipse = std::make_shared<LayerEllipse>();
    ellipse->Height(height);
    ellipse->Width(width);
    if (layer != nullptr) ellipse->Layer(layer);
    return ellipse;
}

void LayerEllipse::Draw(platform::Canvas& canvas) {
    canvas.BlendMode(BlendMode);
    canvas.Color(Brightness(Color));
    canvas.DrawEllipse(X(), Y(), Width(), Height());
}

// --- PixmapToTilemap ---------------------------------------------------------

void PixmapToTilemap(scenegraph::Layer* layer, const platform::Pixmap& pixmap, int offsetX, int offsetY, int gap,
                     int outlineWidth) {
    if (layer == nullptr) return;
    const platform::Vec2i cell = layer->TileSize();
    for (int x = 0; x < pixmap.Width(); ++x) {
        for (int y = 0; y < pixmap.Height(); ++y) {
            const std::uint32_t argb = pixmap.GetPixelARGB(x, y);
            if ((argb >> 24) == 0) continue;
            auto rectangle = LayerRectangle::New(layer, static_cast<float>(cell.x), static_cast<float>(cell.y));
            rectangle->OutlineWidth = outlineWidth;
            PlaceAtTile(*rectangle, offsetX + x, offsetY + y);
            rectangle->Width(rectangle->Width() - static_cast<float>(gap));
            rectangle->Height(rectangle->Height() - static_cast<float>(gap));
            rectangle->Color = platform::Color(static_cast<float>((argb >> 16) & 255) / 255.0f,
                                               static_cast<float>((argb >> 8) & 255) / 255.0f,
                                               static_cast<float>(argb & 255) / 255.0f, 1.0f);
        }
    }
}

void PixmapToTilemap(scenegraph::Layer* layer, const std::string& path, int offsetX, int offsetY, int gap,
                     int outlineWidth) {
    const std::string resolved = framework::ResolvePath(path, "asset::");
    const auto pixmap = platform::Pixmap::Load(resolved);
    if (!pixmap) {
        std::printf("Image not found: %s\n", resolved.c_str());
        std::fflush(stdout);
        return;
    }
    PixmapToTilemap(layer, *pixmap, offsetX, offsetY, gap, outlineWidth);
}

}  // namespace kestrum::scenegraph
