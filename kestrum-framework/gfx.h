// Drawing utilities on top of the platform canvas, and functions that make or
// save images.
//
// Drawing: nine-patch skins that stretch to any size without distorting
// their borders, images drawn with an explicit handle (the image's own handle
// is left alone), images along a line, tiled backgrounds, progress bars, a
// full-view fade, rectangle and ellipse outlines, colours from bytes and a
// key-driven tweak tool. The functions keep no state; where one pushes the
// canvas matrix it pops it before returning, while the colour and blend mode
// it sets stay set.
//
// Images: frame strips cut from one picture, tiled images rendered into a
// new image, one-colour silhouettes (masks) of pixmaps, and screenshots.
//
// Rotations are canvas rotations (radians, counter-clockwise on the y-down
// screen). Sizes measured from images are truncated toward zero.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.h"
#include "platform/image.h"
#include "platform/types.h"

namespace kestrum::framework::gfx {

using platform::ImagePtr;
using platform::PixmapPtr;

// Nine-patch borders: empty (no nine-patch, the image is drawn whole), one
// value (a uniform border of that many pixels) or 36 values (nine source
// rectangles x, y, width, height in the order top-left, top-middle,
// top-right, middle-left, centre, middle-right, bottom-left, bottom-middle,
// bottom-right). Any other length is treated like empty.
//
// Draws image so that it fills width × height: the corners keep their size,
// the middle row and column stretch. The box is placed with its handle point
// (fractions of width and height) at (x, y), turned and scaled about it.
// Nothing is drawn for a null image.
void Draw9Patch(platform::Canvas& canvas, const ImagePtr& image, const std::vector<int>& borders, float x, float y,
                float width, float height, float rotation = 0, float scaleX = 1, float scaleY = 1,
                float handleX = 0, float handleY = 0);
// The same with the borders MakeNinePatch(image, border) builds.
void Draw9Patch(platform::Canvas& canvas, const ImagePtr& image, int border, float x, float y, float width,
                float height, float rotation = 0, float scaleX = 1, float scaleY = 1, float handleX = 0,
                float handleY = 0);
// The 36-value borders of a uniform border of c pixels.
std::vector<int> MakeNinePatch(const platform::Image& image, int border);

// Draws image with its point (handleX, handleY) (fractions of its size) at
// (x, y), turned and scaled about that point; the image's own handle is the
// same afterwards. padded draws the image without its one-pixel gutter.
void DrawImageEx(platform::Canvas& canvas, const ImagePtr& image, float x, float y, float rotation = 0,
                 float scaleX = 1, float scaleY = 1, float handleX = 0, float handleY = 0, bool padded = false);

// Lays image along the line from (x1, y1) to (x2, y2), centred on it across:
// mode 0 stretches the whole image over the length, mode 1 repeats the
// texture along it, mode 2 draws the image once at its own size from the
// first point. Other modes draw nothing; a null image draws a plain line.
void DrawThickLine(platform::Canvas& canvas, const ImagePtr& image, float x1, float y1, float x2, float y2,
                   int mode = 0);
// repeat True is mode 1, False mode 0.
void DrawThickLine(platform::Canvas& canvas, const ImagePtr& image, platform::Vec2f from, platform::Vec2f to,
                   bool repeat);

// Tiles image over width × height seen through the scroll offset, with two
// spare tiles before and three after in each direction.
void DrawTiled(platform::Canvas& canvas, const ImagePtr& image, float offsetX, float offsetY, int width,
               int height);

// A bar of width × height placed by its handle at (x, y): the background in
// backColor, then, when value > 0, the part value / max of it from the left
// in barColor (full at value >= max).
void DrawProgressBar(platform::Canvas& canvas, int x, int y, int width, int height, int value, int max,
                     platform::Color backColor, platform::Color barColor, float handleX = 0, float handleY = 0);
// The same filled from the bottom edge upward.
void DrawVProgressBar(platform::Canvas& canvas, int x, int y, int width, int height, int value, int max,
                      platform::Color backColor, platform::Color barColor, float handleX = 0, float handleY = 0);

// Covers the viewport, alpha-blended, with color's red, green and blue at
// opacity 1 - amount (clamped to 0..1); nothing when amount >= 1.
void DrawFade(platform::Canvas& canvas, float amount, platform::Color color);

// Four bars of the given thickness inside the rectangle's edge, in the
// current colour (a negative thickness puts them outside).
void DrawRectOutline(platform::Canvas& canvas, float x, float y, int width, int height, int thickness);

// The outline of an axis-aligned ellipse as single points (midpoint algorithm).
void DrawEllipseOutline(platform::Canvas& canvas, float x, float y, float radiusX, float radiusY);

// Each component v / 256 (so 255 gives 0.99609375).
platform::Color ColorFromBytes(int red, int green, int blue, int alpha);

// A development aid: while the given keys are held, each call nudges the
// image's tint, light depth or scale (down while lowerKey is held) and prints
// the new value.
void TweakImage(const ImagePtr& image, int colorKey, int lightDepthKey, int scaleKey, int redKey, int greenKey,
                int blueKey, int lowerKey);

// Loads one picture ("asset::" paths as everywhere) and cuts it into count
// frames side by side, sharing its texture; padded frames drop a one-pixel
// gutter on both sides. Empty when the picture is missing or count < 1.
std::vector<ImagePtr> LoadFrames(const std::string& path, int count, bool padded = false);
// Sets the handle of every image (null entries are skipped).
void SetHandle(const std::vector<ImagePtr>& images, platform::Vec2f handle);
// A new width × height image filled with whole copies of image from its
// top-left corner; the strips at the right and bottom that cannot hold a
// whole tile stay transparent. Null for a null image.
ImagePtr CreateTiledImage(const ImagePtr& image, int width, int height);
// Turns every pixel whose alpha is not 0 into exactly color (the pixmaps are
// changed in place) and makes an image of each pixmap with flags.
std::vector<ImagePtr> CreateImageMask(const std::vector<PixmapPtr>& pixmaps, platform::Color color, int flags);
// A pixmap handed over by value (moved in) becomes the texture's own pixels
// without a copy.
ImagePtr MaskImage(PixmapPtr pixmap, platform::Color color, int flags);
// What the canvas shows in its viewport.
PixmapPtr Screenshot(platform::Canvas& canvas);
// The same as an image with flags 256 (neither filtered nor mipmapped).
ImagePtr ScreenshotImage(platform::Canvas& canvas);
// Writes the pixels of image to a PNG file; false when it cannot be written.
bool SaveImage(const ImagePtr& image, const std::string& path);

}  // namespace kestrum::framework::gfx

namespace kestrum::framework {
using namespace gfx;
}
