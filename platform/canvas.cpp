// Canvas: turns drawing requests into quads for the renderer.
#include "platform/canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/renderer.h"
#include "platform/text.h"

namespace platform {

namespace {

const std::shared_ptr<Texture>& WhiteTexture() {
    static const std::shared_ptr<Texture> white = [] {
        auto pixmap = std::make_shared<Pixmap>(1, 1);
        pixmap->Clear(Color::White());
        return std::make_shared<Texture>(std::move(pixmap), TextureFlags::ClampS | TextureFlags::ClampT);
    }();
    return white;
}

std::uint8_t Channel(float v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

struct Canvas::LightBuffers {
    std::shared_ptr<Texture> diffuse;
    std::shared_ptr<Texture> light;
    // Normals of the bump images drawn in the pass; lights are shaded by
    // them only once a bump image was drawn, so plain passes batch their lights.
    std::shared_ptr<Texture> normals;
    bool bumps = false;
};

Canvas::Canvas(std::shared_ptr<Image> target)
    : target_(std::move(target)), width_(target_ ? target_->Width() : 0), height_(target_ ? target_->Height() : 0),
      viewport_(0, 0, width_, height_), renderer_(std::make_unique<Renderer>()) {}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), viewport_(0, 0, width, height), renderer_(std::make_unique<Renderer>()) {}

Canvas::~Canvas() = default;

void Canvas::PushMatrix() { matrixStack_.push_back(matrix_); }

void Canvas::PopMatrix() {
    if (matrixStack_.empty()) return;
    matrix_ = matrixStack_.back();
    matrixStack_.pop_back();
}

void Canvas::ClearMatrix() {
    matrix_ = AffineMat3f{};
    matrixStack_.clear();
}

void Canvas::Translate(float x, float y) { matrix_ = matrix_.Translate(x, y); }
void Canvas::Rotate(float radians) { matrix_ = matrix_.Rotate(radians); }
void Canvas::Scale(float x, float y) { matrix_ = matrix_.Scale(x, y); }

void Canvas::Viewport(Recti rect) { viewport_ = rect; }
void Canvas::Scissor(Recti rect) { scissor_ = rect; }

BatchState Canvas::CurrentState(int blend, Buffer which) const {
    BatchState state;
    state.blend = blend;
    if (lighting_ && light_) {
        Texture* buffer = which == Buffer::Light     ? light_->light.get()
                          : which == Buffer::Normals ? light_->normals.get()
                                                     : light_->diffuse.get();
        state.target = {buffer, buffer->Width(), buffer->Height()};
        state.viewport = {0, 0, buffer->Width(), buffer->Height()};
        return state;
    }
    state.target = MainTarget();
    const Vec2i origin = target_ ? target_->Rect().min : Vec2i{};
    state.viewport = {viewport_.min + origin, viewport_.max + origin};
    if (!scissor_.AllZero()) {
        state.scissor = true;
        state.scissorRect = {scissor_.min + state.viewport.min, scissor_.max + state.viewport.min};
    }
    return state;
}

// A sub-image as target is a window into its texture: the canvas's
// coordinates start at the sub-image's corner.
DrawTarget Canvas::MainTarget() const {
    if (!target_ || !target_->GetTexture()) return {nullptr, width_, height_};
    Texture* texture = target_->GetTexture().get();
    return {texture, texture->Width(), texture->Height()};
}

void Canvas::AddQuad(const std::shared_ptr<Texture>& texture, BatchState state, const Vec2f corners[4],
                     const Vec2f uv[4], platform::Color color) {
    state.texture = texture.get();
    const float a = std::clamp(color.a, 0.0f, 1.0f);
    const std::uint8_t r = Channel(color.r * a), g = Channel(color.g * a), b = Channel(color.b * a),
                       alpha = Channel(a);
    Vertex* v = renderer_->Reserve(state, texture, 1);
    for (int k = 0; k < 4; ++k) v[k] = {corners[k].x, corners[k].y, uv[k].x, uv[k].y, r, g, b, alpha};
}

void Canvas::Clear(platform::Color color) { renderer_->Clear(CurrentState(BlendMode::Opaque), color); }

void Canvas::DrawImageQuad(const Image& image, const AffineMat3f& matrix, Rectf box, Rectf source,
                           const BatchState& state, platform::Color color) {
    DrawTextureQuad(image.GetTexture(), matrix, box, source, state, color);
    if (lighting_ && image.NormalTexture()) {
        // The normal map covers the same pixels as the diffuse map.
        DrawTextureQuad(image.NormalTexture(), matrix, box, source, CurrentState(BlendMode::Alpha, Buffer::Normals),
                        Color::White());
        light_->bumps = true;
    }
}

void Canvas::DrawTextureQuad(const std::shared_ptr<Texture>& texture, const AffineMat3f& matrix, Rectf box,
                             Rectf source, const BatchState& state, platform::Color color) {
    if (!texture || texture->Width() <= 0 || texture->Height() <= 0) return;
    const float tw = static_cast<float>(texture->Width()), th = static_cast<float>(texture->Height());
    const Vec2f corners[4] = {matrix.Transform(box.min), matrix.Transform({box.max.x, box.min.y}),
                              matrix.Transform(box.max), matrix.Transform({box.min.x, box.max.y})};
    const float u0 = source.min.x / tw, v0 = source.min.y / th, u1 = source.max.x / tw, v1 = source.max.y / th;
    const Vec2f uv[4] = {{u0, v0}, {u1, v0}, {u1, v1}, {u0, v1}};
    AddQuad(texture, state, corners, uv, color);
}

void Canvas::DrawImage(const Image& image, float x, float y, float rotation, float scaleX, float scaleY) {
    const AffineMat3f m = matrix_.Translate(x, y).Rotate(rotation).Scale(scaleX * image.Scale().x,
                                                                         scaleY * image.Scale().y);
    const float w = static_cast<float>(image.Width()), h = static_cast<float>(image.Height());
    const Vec2f origin{-image.Handle().x * w, -image.Handle().y * h};
    const Recti r = image.Rect();
    DrawImageQuad(image, m, {origin, origin + Vec2f{w, h}},
                  {float(r.min.x), float(r.min.y), float(r.max.x), float(r.max.y)}, CurrentState(blendMode_),
                  color_ * image.Color());
}

void Canvas::DrawRect(float x, float y, float width, float height, const Image& image) {
    const Recti r = image.Rect();
    DrawImageQuad(image, matrix_, {x, y, x + width, y + height},
                  {float(r.min.x), float(r.min.y), float(r.max.x), float(r.max.y)}, CurrentState(blendMode_),
                  color_ * image.Color());
}

void Canvas::DrawRect(float x, float y, float width, float height, const Image& image, float srcX, float srcY,
                      float srcWidth, float srcHeight) {
    const Vec2f base{float(image.Rect().min.x), float(image.Rect().min.y)};
    DrawImageQuad(image, matrix_, {x, y, x + width, y + height},
                  {base.x + srcX, base.y + srcY, base.x + srcX + srcWidth, base.y + srcY + srcHeight},
                  CurrentState(blendMode_), color_ * image.Color());
}

void Canvas::DrawRect(float x, float y, float width, float height) {
    const Vec2f corners[4] = {matrix_.Transform({x, y}), matrix_.Transform({x + width, y}),
                              matrix_.Transform({x + width, y + height}), matrix_.Transform({x, y + height})};
    const Vec2f uv[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    AddQuad(WhiteTexture(), CurrentState(blendMode_), corners, uv, color_);
}

void Canvas::DrawLine(float x0, float y0, float x1, float y1) {
    const float dx = x1 - x0, dy = y1 - y0;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length == 0) return;
    // Half a unit to each side of the line.
    const float nx = -dy / length * 0.5f, ny = dx / length * 0.5f;
    const Vec2f corners[4] = {matrix_.Transform({x0 + nx, y0 + ny}), matrix_.Transform({x1 + nx, y1 + ny}),
                              matrix_.Transform({x1 - nx, y1 - ny}), matrix_.Transform({x0 - nx, y0 - ny})};
    const Vec2f uv[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    AddQuad(WhiteTexture(), CurrentState(blendMode_), corners, uv, color_);
}

void Canvas::DrawPoint(float x, float y) { DrawRect(x, y, 1, 1); }

void Canvas::DrawOval(float x, float y, float width, float height) {
    DrawEllipse(x + width / 2, y + height / 2, width / 2, height / 2);
}

void Canvas::DrawEllipse(float x, float y, float radiusX, float radiusY) {
    // Enough segments that each rim edge is about three pixels long on the target.
    const float det = std::fabs(matrix_.i.x * matrix_.j.y - matrix_.j.x * matrix_.i.y);
    const float radius = std::max(std::fabs(radiusX), std::fabs(radiusY)) * std::sqrt(det);
    if (!(radius > 0)) return;
    const int segments = std::clamp(static_cast<int>(std::ceil(2 * std::numbers::pi_v<float> * radius / 3)), 12, 512);
    std::vector<Vec2f> points;
    points.reserve(static_cast<std::size_t>(segments) + 2);
    points.push_back({x, y});
    for (int k = 0; k <= segments; ++k) {
        const float angle = 2 * std::numbers::pi_v<float> * static_cast<float>(k % segments) / segments;
        points.push_back({x + radiusX * std::cos(angle), y + radiusY * std::sin(angle)});
    }
    AddFan(points);
}

void Canvas::DrawCircle(float x, float y, float radius) { DrawEllipse(x, y, radius, radius); }

void Canvas::DrawTriangle(Vec2f a, Vec2f b, Vec2f c) { AddFan({a, b, c}); }

void Canvas::DrawPoly(const std::vector<Vec2f>& points) {
    if (points.size() >= 3) AddFan(points);
}

void Canvas::AddFan(const std::vector<Vec2f>& points) {
    const BatchState state = CurrentState(blendMode_);
    const Vec2f uv[4] = {{0, 0}, {1, 0}, {1, 1}, {1, 1}};
    const Vec2f centre = matrix_.Transform(points[0]);
    Vec2f previous = matrix_.Transform(points[1]);
    for (std::size_t k = 2; k < points.size(); ++k) {
        const Vec2f next = matrix_.Transform(points[k]);
        // A triangle is a quad whose last two corners coincide.
        const Vec2f corners[4] = {centre, previous, next, next};
        AddQuad(WhiteTexture(), state, corners, uv, color_);
        previous = next;
    }
}

void Canvas::DrawText(std::string_view text, float x, float y, float handleX, float handleY) {
    if (!font_ || !font_->Atlas()) return;
    const platform::Font& font = *font_;
    const Image& atlas = *font.Atlas();
    const BatchState state = CurrentState(blendMode_);
    const platform::Color color = color_ * atlas.Color();
    float pen = x - (handleX != 0 ? handleX * font.TextWidth(text) : 0);
    const float top = y - handleY * font.Height();
    char32_t previous = 0;
    for (char32_t code : ToUtf32(text)) {
        if (code < 0x20) {
            previous = 0;
            continue;
        }
        if (previous) pen += font.Kerning(previous, code);
        const Glyph* glyph = font.GetGlyph(code);
        if (glyph->rect.Width() > 0 && glyph->rect.Height() > 0) {
            const Vec2f origin{pen + glyph->offset.x, top + glyph->offset.y};
            const Vec2f size{float(glyph->rect.Width()), float(glyph->rect.Height())};
            DrawImageQuad(atlas, matrix_, {origin, origin + size},
                          {float(glyph->rect.min.x), float(glyph->rect.min.y), float(glyph->rect.max.x),
                           float(glyph->rect.max.y)},
                          state, color);
        }
        pen += glyph->advance;
        previous = code;
    }
}

void Canvas::BeginLighting() {
    if (lighting_ || viewport_.Empty()) return;
    const int w = viewport_.Width(), h = viewport_.Height();
    if (!light_ || light_->diffuse->Width() != w || light_->diffuse->Height() != h) {
        light_ = std::make_unique<LightBuffers>();
        light_->diffuse = std::make_shared<Texture>(w, h, TextureFlags::ClampS | TextureFlags::ClampT);
        light_->light = std::make_shared<Texture>(w, h, TextureFlags::ClampS | TextureFlags::ClampT);
        light_->normals = std::make_shared<Texture>(w, h, TextureFlags::ClampS | TextureFlags::ClampT);
        light_->bumps = true;  // a new normal buffer must be cleared
    }
    lighting_ = true;
    renderer_->Clear(CurrentState(BlendMode::Opaque), Color::None());
    renderer_->Clear(CurrentState(BlendMode::Opaque, Buffer::Light), {ambient_.r, ambient_.g, ambient_.b, 1});
    if (light_->bumps) renderer_->Clear(CurrentState(BlendMode::Opaque, Buffer::Normals), Color::None());
    light_->bumps = false;
}

void Canvas::AddLight(const Image& light, float x, float y, float rotation, float scaleX, float scaleY) {
    if (!lighting_) return;
    const AffineMat3f m = matrix_.Translate(x, y).Rotate(rotation).Scale(scaleX * light.Scale().x,
                                                                         scaleY * light.Scale().y);
    const float w = static_cast<float>(light.Width()), h = static_cast<float>(light.Height());
    const Vec2f origin{-light.Handle().x * w, -light.Handle().y * h};
    const Recti r = light.Rect();
    BatchState state = CurrentState(BlendMode::Additive, Buffer::Light);
    if (light_->bumps) {
        state.normals = light_->normals.get();
        state.lightCentre = matrix_.Transform({x, y});
        state.lightDepth = light.LightDepth();
    }
    DrawTextureQuad(light.GetTexture(), m, {origin, origin + Vec2f{w, h}},
                    {float(r.min.x), float(r.min.y), float(r.max.x), float(r.max.y)}, state, color_ * light.Color());
}

void Canvas::EndLighting() {
    if (!lighting_) return;
    const float w = static_cast<float>(light_->diffuse->Width()), h = static_cast<float>(light_->diffuse->Height());
    const Vec2f corners[4] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
    const Vec2f uv[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    // Diffuse × light, keeping the diffuse coverage ...
    AddQuad(light_->light, CurrentState(InternalBlend::MultiplyKeepAlpha), corners, uv, Color::White());
    lighting_ = false;
    // ... then composed over the target like any premultiplied image.
    AddQuad(light_->diffuse, CurrentState(BlendMode::Alpha), corners, uv, Color::White());
}

void Canvas::Flush() { renderer_->Flush(); }

std::shared_ptr<Pixmap> Canvas::CopyPixmap(Recti rect) {
    const Vec2i origin = viewport_.min + (target_ ? target_->Rect().min : Vec2i{});
    return renderer_->ReadPixels(MainTarget(), {rect.min + origin, rect.max + origin});
}

int Canvas::DrawCalls() const { return renderer_->DrawCalls(); }

void Canvas::ResetDrawCalls() { renderer_->ResetDrawCalls(); }

}  // namespace platform
