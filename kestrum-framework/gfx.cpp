// Drawing utilities, frame strips, masks and screenshots.
#include "kestrum-framework/gfx.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "kestrum-framework/assetpath.h"
#include "kestrum-framework/math.h"
#include "platform/input.h"
#include "platform/text.h"

namespace kestrum::framework::gfx {

namespace {

int Trunc(float value) { return static_cast<int>(value); }

// Restores an image's handle when it goes out of scope.
class HandleGuard {
public:
    HandleGuard(platform::Image& image, platform::Vec2f handle) : image_(image), saved_(image.Handle()) {
        image_.Handle(handle);
    }
    ~HandleGuard() { image_.Handle(saved_); }
    HandleGuard(const HandleGuard&) = delete;
    HandleGuard& operator=(const HandleGuard&) = delete;

private:
    platform::Image& image_;
    platform::Vec2f saved_;
};

std::string ColorText(platform::Color c) {
    return platform::FromFloat(c.r) + "," + platform::FromFloat(c.g) + "," + platform::FromFloat(c.b) + "," +
           platform::FromFloat(c.a);
}

}  // namespace

std::vector<int> MakeNinePatch(const platform::Image& image, int c) {
    const int w = image.Width(), h = image.Height();
    const int wt = w - 2 * c, ht = h - 2 * c, wc = w - c, hc = h - c;
    return {
        0, 0,  c, c,  c,  0,  wt, c,  wc, 0,  c,  c,   // top row
        0, c,  c, ht, c,  c,  wt, ht, wc, c,  c,  ht,  // middle row
        0, hc, c, c,  c,  hc, wt, c,  wc, hc, c,  c,   // bottom row
    };
}

void Draw9Patch(platform::Canvas& canvas, const ImagePtr& image, const std::vector<int>& borders, float x, float y,
                float width, float height, float rotation, float scaleX, float scaleY, float handleX,
                float handleY) {
    if (!image) return;
    if (borders.size() == 1) {
        Draw9Patch(canvas, image, MakeNinePatch(*image, borders[0]), x, y, width, height, rotation, scaleX, scaleY,
                   handleX, handleY);
        return;
    }
    if (borders.size() != 36) {
        DrawImageEx(canvas, image, x, y, rotation, scaleX, scaleY, handleX, handleY, false);
        return;
    }
    const std::vector<int>& b = borders;
    auto f = [&b](int k) { return static_cast<float>(b[static_cast<std::size_t>(k)]); };

    const float ox = -width * handleX, oy = -height * handleY;
    // The extra size the middle row and column take on.
    const int dw = Trunc(width - (f(2) + f(6) + f(10)));
    const int dh = Trunc(height - (f(3) + f(15) + f(27)));
    // Every piece after the first starts on a whole unit where the one before it ends.
    const int x0 = Trunc(ox), y0 = Trunc(oy), x1 = Trunc(ox + f(2)), y1 = Trunc(oy + f(3));
    const int y2 = y1 + b[15] + dh;

    auto piece = [&](float tx, float ty, float tw, float th, int k) {
        canvas.DrawRect(tx, ty, tw, th, *image, f(k * 4), f(k * 4 + 1), f(k * 4 + 2), f(k * 4 + 3));
    };
    auto fi = [](int v) { return static_cast<float>(v); };

    canvas.PushMatrix();
    canvas.Translate(x, y);
    canvas.Rotate(rotation);
    canvas.Scale(scaleX, scaleY);
    piece(ox, oy, f(2), f(3), 0);
    piece(fi(x1), fi(y0), fi(b[6] + dw), f(7), 1);
    piece(fi(x1 + b[6] + dw), fi(y0), f(10), f(11), 2);
    piece(fi(x0), fi(y1), f(14), fi(b[15] + dh), 3);
    piece(fi(x0 + b[14]), fi(y1), fi(b[18] + dw), fi(b[19] + dh), 4);
    piece(fi(x0 + b[14] + b[18] + dw), fi(y1), f(22), fi(b[23] + dh), 5);
    piece(fi(x0), fi(y2), f(26), f(27), 6);
    piece(fi(x0 + b[26]), fi(y2), fi(b[30] + dw), f(31), 7);
    piece(fi(x0 + b[26] + b[30] + dw), fi(y2), f(34), f(35), 8);
    canvas.PopMatrix();
}

void Draw9Patch(platform::Canvas& canvas, const ImagePtr& image, int border, float x, float y, float width,
                float height, float rotation, float scaleX, float scaleY, float handleX, float handleY) {
    if (!image) return;
    Draw9Patch(canvas, image, MakeNinePatch(*image, border), x, y, width, height, rotation, scaleX, scaleY, handleX,
               handleY);
}

void DrawImageEx(platform::Canvas& canvas, const ImagePtr& image, float x, float y, float rotation, float scaleX,
                 float scaleY, float handleX, float handleY, bool padded) {
    if (!image) return;
    const float w = static_cast<float>(image->Width()), h = static_cast<float>(image->Height());
    if (padded) {
        canvas.PushMatrix();
        canvas.Translate(x, y);
        canvas.Rotate(rotation);
        canvas.Scale(scaleX, scaleY);
        canvas.Translate(-handleX * (w - 2), -handleY * (h - 2));
        canvas.DrawRect(0, 0, w, h, *image, 1, 1, static_cast<float>(Trunc(w - 2)), static_cast<float>(Trunc(h - 2)));
        canvas.PopMatrix();
        return;
    }
    if (image->Handle() == platform::Vec2f(handleX, handleY)) {
        canvas.DrawImage(*image, x, y, rotation, scaleX, scaleY);
        return;
    }
    HandleGuard guard(*image, {0, 0});
    canvas.PushMatrix();
    canvas.Translate(x, y);
    canvas.Rotate(rotation);
    canvas.Scale(scaleX, scaleY);
    canvas.Translate(-w * handleX, -h * handleY);
    canvas.DrawImage(*image, 0, 0);
    canvas.PopMatrix();
}

void DrawThickLine(platform::Canvas& canvas, const ImagePtr& image, float x1, float y1, float x2, float y2,
                   int mode) {
    if (!image) {
        canvas.DrawLine(x1, y1, x2, y2);
        return;
    }
    if (mode < 0 || mode > 2) return;
    const float w = static_cast<float>(image->Width()), h = static_cast<float>(image->Height());
    const float length = Distance(x1, y1, x2, y2);
    canvas.PushMatrix();
    canvas.Translate(x1, y1);
    canvas.Rotate(-std::atan2(y2 - y1, x2 - x1));
    canvas.Translate(0, -h * 0.5f);
    switch (mode) {
        case 0:
            canvas.DrawRect(0, 0, length, h, *image);
            break;
        case 1:
            // The source runs past the image's width, so the texture repeats
            // where it wraps.
            canvas.DrawRect(0, 0, length, h, *image, 0, 0, static_cast<float>(Trunc(length)),
                            static_cast<float>(Trunc(h)));
            break;
        default:
            canvas.DrawRect(0, 0, w, h, *image);
            break;
    }
    canvas.PopMatrix();
}

void DrawThickLine(platform::Canvas& canvas, const ImagePtr& image, platform::Vec2f from, platform::Vec2f to,
                   bool repeat) {
    DrawThickLine(canvas, image, from.x, from.y, to.x, to.y, repeat ? 1 : 0);
}

void DrawTiled(platform::Canvas& canvas, const ImagePtr& image, float offsetX, float offsetY, int width,
               int height) {
    if (!image) return;
    const int wi = image->Width(), hi = image->Height();
    if (wi <= 0 || hi <= 0) return;
    const int qx = Trunc(offsetX) / wi, qy = Trunc(offsetY) / hi;
    // Tiles sit on whole multiples of the tile size, so the pattern scrolls
    // seamlessly with the offset.
    const int startX = (qx - 2) * wi, startY = (qy - 2) * hi;
    const int lastColumn = width / wi + 3, lastRow = height / hi + 3;
    canvas.PushMatrix();
    canvas.Translate(-offsetX, -offsetY);
    int tx = startX;
    for (int column = -2; column <= lastColumn; ++column, tx += wi) {
        int ty = startY;
        for (int row = -2; row <= lastRow; ++row, ty += hi) {
            DrawImageEx(canvas, image, static_cast<float>(tx), static_cast<float>(ty), 0, 1, 1, 0, 0, false);
        }
    }
    canvas.PopMatrix();
}

namespace {

// The filled part of a bar of `size` units at value of max; the whole bar at value >= max.
float FilledPart(int size, int value, int max) {
    if (value >= max) return static_cast<float>(size);
    return static_cast<float>(value) * static_cast<float>(size) / static_cast<float>(max);
}

}  // namespace

void DrawProgressBar(platform::Canvas& canvas, int x, int y, int width, int height, int value, int max,
                     platform::Color backColor, platform::Color barColor, float handleX, float handleY) {
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    canvas.Color(backColor);
    canvas.PushMatrix();
    canvas.Translate(-static_cast<float>(width) * handleX, -static_cast<float>(height) * handleY);
    canvas.DrawRect(fx, fy, static_cast<float>(width), static_cast<float>(height));
    if (value > 0) {
        canvas.Color(barColor);
        canvas.DrawRect(fx, fy, FilledPart(width, value, max), static_cast<float>(height));
    }
    canvas.PopMatrix();
}

void DrawVProgressBar(platform::Canvas& canvas, int x, int y, int width, int height, int value, int max,
                      platform::Color backColor, platform::Color barColor, float handleX, float handleY) {
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    canvas.Color(backColor);
    canvas.PushMatrix();
    canvas.Translate(-static_cast<float>(width) * handleX, -static_cast<float>(height) * handleY);
    canvas.DrawRect(fx, fy, static_cast<float>(width), static_cast<float>(height));
    if (value > 0) {
        canvas.Color(barColor);
        const float filled = FilledPart(height, value, max);
        canvas.DrawRect(fx, fy + static_cast<float>(height) - filled, static_cast<float>(width), filled);
    }
    canvas.PopMatrix();
}

void DrawFade(platform::Canvas& canvas, float amount, platform::Color color) {
    // Written so that a NaN amount draws nothing as well.
    if (!(amount < 1)) return;
    canvas.BlendMode(platform::BlendMode::Alpha);
    canvas.Color({color.r, color.g, color.b, std::clamp(1 - amount, 0.0f, 1.0f)});
    const platform::Recti viewport = canvas.Viewport();
    canvas.DrawRect(0, 0, static_cast<float>(viewport.Width()), static_cast<float>(viewport.Height()));
}

void DrawRectOutline(platform::Canvas& canvas, float x, float y, int width, int height, int thickness) {
    const float w = static_cast<float>(width), h = static_cast<float>(height), t = static_cast<float>(thickness);
    canvas.DrawRect(x, y, w, t);
    canvas.DrawRect(x, y + t, t, h - 2 * t);
    canvas.DrawRect(x, y + h - t, w, t);
    canvas.DrawRect(x + w - t, y + t, t, h - 2 * t);
}

void DrawEllipseOutline(platform::Canvas& canvas, float x, float y, float radiusX, float radiusY) {
    // 64-bit arithmetic: the squared radii overflow an Int beyond about 200 units.
    const std::int64_t a = std::abs(static_cast<std::int64_t>(radiusX));
    const std::int64_t b = std::abs(static_cast<std::int64_t>(radiusY));
    const std::int64_t a2 = a * a, b2 = b * b;
    auto round = [](double v) { return static_cast<std::int64_t>(std::floor(v + 0.5)); };
    auto plot = [&](std::int64_t px, std::int64_t py) {
        const float fx = static_cast<float>(px), fy = static_cast<float>(py);
        canvas.DrawPoint(x + fx, y + fy);
        canvas.DrawPoint(x - fx, y + fy);
        canvas.DrawPoint(x + fx, y - fy);
        canvas.DrawPoint(x - fx, y - fy);
    };

    std::int64_t px = 0, py = b;
    std::int64_t dx = 0, dy = 2 * a2 * py;
    plot(px, py);
    // Region one: the slope is below 1 in magnitude; step along x.
    std::int64_t d = round(static_cast<double>(b2) - static_cast<double>(a2 * b) + static_cast<double>(a2) / 4.0);
    while (dx < dy) {
        ++px;
        dx += 2 * b2;
        if (d < 0) {
            d += dx + b2;
        } else {
            --py;
            dy -= 2 * a2;
            d += dx - dy + b2;
        }
        plot(px, py);
    }
    // Region two: step along y down to the axis.
    d = round(static_cast<double>(b2) * (static_cast<double>(px) + 0.5) * (static_cast<double>(px) + 0.5) +
              static_cast<double>(a2) * static_cast<double>((py - 1) * (py - 1)) - static_cast<double>(a2 * b2));
    while (py > 0) {
        --py;
        dy -= 2 * a2;
        if (d > 0) {
            d += a2 - dy;
        } else {
            ++px;
            dx += 2 * b2;
            d += dx - dy + a2;
        }
        plot(px, py);
    }
}

platform::Color ColorFromBytes(int red, int green, int blue, int alpha) {
    auto c = [](int v) { return static_cast<float>(v) / 256.0f; };
    return {c(red), c(green), c(blue), c(alpha)};
}

void TweakImage(const ImagePtr& image, int colorKey, int lightDepthKey, int scaleKey, int redKey, int greenKey,
                int blueKey, int lowerKey) {
    if (!image) return;
    const platform::KeyboardDevice& keys = platform::Keyboard();
    const float sign = keys.KeyDown(lowerKey) ? -1.0f : 1.0f;
    auto nudge = [&](platform::Color step) {
        const platform::Color c = image->Color();
        image->Color({c.r + sign * step.r, c.g + sign * step.g, c.b + sign * step.b, c.a + sign * step.a});
        std::printf("%s\n", ColorText(image->Color()).c_str());
    };
    if (keys.KeyDown(colorKey)) nudge({0.01f, 0.01f, 0.01f, 0.01f});
    if (keys.KeyDown(lightDepthKey)) {
        image->LightDepth(image->LightDepth() + sign * 10);
        std::printf("%s\n", platform::FromFloat(image->LightDepth()).c_str());
    }
    if (keys.KeyDown(scaleKey)) {
        const platform::Vec2f s = image->Scale();
        image->Scale({s.x + sign * 0.1f, s.y + sign * 0.1f});
        std::printf("%s,%s\n", platform::FromFloat(image->Scale().x).c_str(),
                    platform::FromFloat(image->Scale().y).c_str());
    }
    if (keys.KeyDown(redKey)) nudge({0.1f, 0, 0, 1});
    if (keys.KeyDown(greenKey)) nudge({0, 0.1f, 0, 1});
    if (keys.KeyDown(blueKey)) nudge({0, 0, 0.1f, 1});
}

std::vector<ImagePtr> LoadFrames(const std::string& path, int count, bool padded) {
    if (count < 1) return {};
    const ImagePtr strip = platform::Image::Load(ResolvePath(path, "asset::"), nullptr,
                                                 platform::TextureFlags::FilterMipmap);
    if (!strip) return {};
    // Doubles, so that the last frame of a strip ends exactly on its edge.
    const double pitch = static_cast<double>(strip->Width()) / count;
    const double start = padded ? 1.0 : 0.0;
    const double frameWidth = padded ? pitch - 2 : pitch;
    const int h = strip->Height();
    std::vector<ImagePtr> frames;
    frames.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double fx = i * pitch + start;
        const platform::Recti rect(static_cast<int>(fx), 0, static_cast<int>(fx + frameWidth), h);
        frames.push_back(std::make_shared<platform::Image>(*strip, rect));
    }
    return frames;
}

void SetHandle(const std::vector<ImagePtr>& images, platform::Vec2f handle) {
    for (const ImagePtr& image : images) {
        if (image) image->Handle(handle);
    }
}

ImagePtr CreateTiledImage(const ImagePtr& image, int width, int height) {
    if (!image || width <= 0 || height <= 0) return nullptr;
    auto result = std::make_shared<platform::Image>(width, height, platform::TextureFlags::FilterMipmap, nullptr);
    platform::Canvas canvas(result);
    // A fresh render target's content is not defined by GL; start transparent.
    canvas.Clear(platform::Color::None());
    const int wi = image->Width(), hi = image->Height();
    if (wi > 0 && hi > 0) {
        canvas.Translate(static_cast<float>(wi) * image->Handle().x, static_cast<float>(hi) * image->Handle().y);
        for (int i = 0; i < width / wi; ++i) {
            for (int j = 0; j < height / hi; ++j) {
                canvas.DrawImage(*image, static_cast<float>(i * wi), static_cast<float>(j * hi));
            }
        }
    }
    canvas.Flush();
    return result;
}

ImagePtr MaskImage(PixmapPtr pixmap, platform::Color color, int flags) {
    if (!pixmap) return nullptr;
    // One pass over the RGBA bytes: per-pixel calls with bounds checks and
    // float rounding made this the slowest part of loading the flash copies.
    auto toByte = [](float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    const std::uint8_t rgba[4] = {toByte(color.r), toByte(color.g), toByte(color.b), toByte(color.a)};
    std::uint8_t* p = pixmap->Data();
    const std::size_t size = static_cast<std::size_t>(pixmap->Width()) * static_cast<std::size_t>(pixmap->Height()) * 4;
    for (std::size_t i = 0; i < size; i += 4) {
        if (p[i + 3] != 0) std::memcpy(p + i, rgba, 4);
    }
    // A pixmap nobody else holds goes to the texture as it is, without a copy.
    return std::make_shared<platform::Image>(std::move(pixmap), flags, nullptr);
}

std::vector<ImagePtr> CreateImageMask(const std::vector<PixmapPtr>& pixmaps, platform::Color color, int flags) {
    std::vector<ImagePtr> images;
    images.reserve(pixmaps.size());
    for (const PixmapPtr& pixmap : pixmaps) images.push_back(MaskImage(pixmap, color, flags));
    return images;
}

PixmapPtr Screenshot(platform::Canvas& canvas) {
    const platform::Recti viewport = canvas.Viewport();
    return canvas.CopyPixmap({0, 0, viewport.Width(), viewport.Height()});
}

ImagePtr ScreenshotImage(platform::Canvas& canvas) {
    const PixmapPtr pixmap = Screenshot(canvas);
    if (!pixmap) return nullptr;
    // The image keeps the pixmap as the source of its texture, so the pixels
    // must not be discarded here.
    return std::make_shared<platform::Image>(pixmap, platform::TextureFlags::Dynamic, nullptr);
}

bool SaveImage(const ImagePtr& image, const std::string& path) {
    if (!image || !image->GetTexture()) return false;
    const platform::Recti rect = image->Rect();
    PixmapPtr pixels;
    if (image->GetTexture()->IsRenderTarget()) {
        platform::Canvas canvas(image);
        pixels = canvas.CopyPixmap({0, 0, rect.Width(), rect.Height()});
    } else if (const PixmapPtr& source = image->GetTexture()->GetPixmap()) {
        // A loaded image keeps its pixels in memory: copy its own rectangle.
        pixels = std::make_shared<platform::Pixmap>(rect.Width(), rect.Height());
        for (int y = 0; y < rect.Height(); ++y) {
            for (int x = 0; x < rect.Width(); ++x) {
                pixels->SetPixelARGB(x, y, source->GetPixelARGB(rect.min.x + x, rect.min.y + y));
            }
        }
    }
    if (!pixels) return false;
    const bool saved = pixels->Save(path);
    pixels->Discard();
    return saved;
}

}  // namespace kestrum::framework::gfx
