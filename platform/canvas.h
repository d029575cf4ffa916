// Canvas: 2D drawing into the window or into an image.
//
// One batched quad renderer (OpenGL 3.3 core): drawing appends vertices to a
// batch, which is flushed to GL only when the texture, blend mode, shader or
// target changes, when pixels are read back and at the end of the frame.
// Rectangles, lines and points use a 1 × 1 white texture so they batch with
// images. Colours are premultiplied when drawn.
//
// Rotations are in radians and turn counter-clockwise on the y-down screen.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "platform/font.h"
#include "platform/image.h"
#include "platform/types.h"

namespace platform {

// Blend modes are plain Ints shared by every layer.
namespace BlendMode {
constexpr int Opaque = 1;
constexpr int Alpha = 2;
constexpr int Additive = 3;
constexpr int Multiply = 4;
}  // namespace BlendMode

class Renderer;
struct BatchState;
struct DrawTarget;

class Canvas {
public:
    // A canvas that draws into the image, which must have been made as a render target.
    explicit Canvas(std::shared_ptr<Image> target);
    // A canvas that draws into the default framebuffer of width × height (used by the window).
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Matrix stack.
    void PushMatrix();
    void PopMatrix();
    void ClearMatrix();
    const AffineMat3f& Matrix() const { return matrix_; }
    void Matrix(const AffineMat3f& matrix) { matrix_ = matrix; }
    void Translate(float x, float y);
    void Rotate(float radians);
    void Scale(float x, float y);

    // State that stays set until changed.
    platform::Color Color() const { return color_; }
    void Color(platform::Color color) { color_ = color; }
    float Alpha() const { return color_.a; }
    void Alpha(float alpha) { color_.a = alpha; }
    int BlendMode() const { return blendMode_; }
    void BlendMode(int mode) { blendMode_ = mode; }
    const std::shared_ptr<platform::Font>& Font() const { return font_; }
    void Font(std::shared_ptr<platform::Font> font) { font_ = std::move(font); }
    // The viewport in target pixels; drawing coordinates start at its top-left.
    Recti Viewport() const { return viewport_; }
    void Viewport(Recti rect);
    // Clips drawing to a rectangle in viewport coordinates; an all-zero rectangle switches it off.
    Recti Scissor() const { return scissor_; }
    void Scissor(Recti rect);
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Clears the viewport (honouring the scissor) to the colour.
    void Clear(platform::Color color);

    // Images are placed by their handle, turned and scaled about it, tinted by
    // the canvas colour and the image's own colour.
    void DrawImage(const Image& image, float x, float y, float rotation = 0, float scaleX = 1, float scaleY = 1);
    // The image stretched over the rectangle, or a part of it (source in image pixels).
    void DrawRect(float x, float y, float width, float height, const Image& image);
    void DrawRect(float x, float y, float width, float height, const Image& image,
                  float srcX, float srcY, float srcWidth, float srcHeight);
    void DrawRect(float x, float y, float width, float height);
    void DrawLine(float x0, float y0, float x1, float y1);
    void DrawPoint(float x, float y);
    // An ellipse filling the box (x, y, width, height).
    void DrawOval(float x, float y, float width, float height);
    void DrawEllipse(float x, float y, float radiusX, float radiusY);
    void DrawCircle(float x, float y, float radius);
    void DrawTriangle(Vec2f a, Vec2f b, Vec2f c);
    // A convex polygon as a triangle fan.
    void DrawPoly(const std::vector<Vec2f>& points);
    // One line of text in the current font, placed by the handle as a fraction
    // of the text's width and the font's height. Does nothing without a font.
    void DrawText(std::string_view text, float x, float y, float handleX = 0, float handleY = 0);

    // 2D lighting: between BeginLighting and EndLighting, images are drawn
    // into a diffuse buffer and lights (AddLight) accumulate over the ambient
    // colour; EndLighting composes diffuse × light onto the target.
    platform::Color AmbientLight() const { return ambient_; }
    void AmbientLight(platform::Color color) { ambient_ = color; }
    void BeginLighting();
    void EndLighting();
    bool Lighting() const { return lighting_; }
    void AddLight(const Image& light, float x, float y, float rotation = 0, float scaleX = 1, float scaleY = 1);

    // Sends everything batched so far to GL.
    void Flush();
    // Reads back a rectangle of the viewport (in viewport coordinates), flushing first.
    std::shared_ptr<Pixmap> CopyPixmap(Recti rect);

    // Draw calls sent to GL since the last reset; the window resets it every frame.
    int DrawCalls() const;
    void ResetDrawCalls();

    const std::shared_ptr<Image>& RenderTarget() const { return target_; }

private:
    struct LightBuffers;
    DrawTarget MainTarget() const;
    // The batch state of the next quad: into the target, or while lighting
    // into one of the lighting buffers.
    enum class Buffer { Diffuse, Light, Normals };
    BatchState CurrentState(int blend, Buffer buffer = Buffer::Diffuse) const;
    void AddQuad(const std::shared_ptr<Texture>& texture, BatchState state, const Vec2f corners[4],
                 const Vec2f uv[4], platform::Color color);
    // A fan of triangles around points[0], in drawing coordinates.
    void AddFan(const std::vector<Vec2f>& points);
    // The source rectangle (texture pixels) of the image's texture over the box (x0, y0)-(x1, y1).
    void DrawImageQuad(const Image& image, const AffineMat3f& matrix, Rectf box, Rectf source,
                       const BatchState& state, platform::Color color);
    void DrawTextureQuad(const std::shared_ptr<Texture>& texture, const AffineMat3f& matrix, Rectf box,
                         Rectf source, const BatchState& state, platform::Color color);

    std::shared_ptr<Image> target_;
    int width_ = 0;
    int height_ = 0;
    AffineMat3f matrix_;
    std::vector<AffineMat3f> matrixStack_;
    platform::Color color_{1, 1, 1, 1};
    int blendMode_ = BlendMode::Alpha;
    std::shared_ptr<platform::Font> font_;
    Recti viewport_;
    Recti scissor_;
    platform::Color ambient_{0, 0, 0, 0};
    bool lighting_ = false;
    std::unique_ptr<LightBuffers> light_;
    std::unique_ptr<Renderer> renderer_;
};

}  // namespace platform
