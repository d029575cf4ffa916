// Rendering through the canvas, checked by reading pixels back.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "platform/canvas.h"
#include "platform/renderer.h"
#include "support/testsupport.h"

namespace {

using platform::Color;
using platform::Image;
using platform::Pixmap;
namespace BlendMode = platform::BlendMode;

#define EXPECT_PIXEL(target, x, y, color) \
    EXPECT_TRUE(testsupport::Near((target).Pixel(x, y), color)) \
        << "at (" << (x) << ", " << (y) << "): " << testsupport::Describe((target).Pixel(x, y))

// An image of solid colours, nearest-filtered so pixel checks are exact.
std::shared_ptr<Image> SolidImage(int width, int height, Color color, int flags = 0) {
    auto pixmap = std::make_shared<Pixmap>(width, height);
    pixmap->Clear(color);
    return std::make_shared<Image>(pixmap, flags);
}

// 8 × 4: the left half red, the right half blue.
std::shared_ptr<Image> TwoToneImage() {
    auto pixmap = std::make_shared<Pixmap>(8, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) pixmap->SetPixel(x, y, x < 4 ? Color(1, 0, 0) : Color(0, 0, 1));
    }
    return std::make_shared<Image>(pixmap, 0);
}

const Color background{0.2f, 0.4f, 0.8f, 1};

TEST(Canvas, BlendModesOverKnownBackground) {
    struct Case {
        int mode;
        Color expected;
    };
    // Source (1, 0.5, 0) at alpha 0.5, premultiplied (0.5, 0.25, 0, 0.5), over the background.
    const Case cases[] = {
        {BlendMode::Opaque, {1, 0.5f, 0, 0.5f}},
        {BlendMode::Alpha, {0.6f, 0.45f, 0.4f, 1}},
        {BlendMode::Additive, {0.7f, 0.65f, 0.8f, 1}},
        {BlendMode::Multiply, {0.2f, 0.3f, 0.4f, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        auto target = testsupport::MakeTarget(8, 8, background);
        target.canvas->BlendMode(c.mode);
        target.canvas->Color({1, 0.5f, 0, 0.5f});
        target.canvas->DrawRect(2, 2, 4, 4);
        EXPECT_PIXEL(target, 3, 3, c.expected);
        EXPECT_PIXEL(target, 0, 0, background);
    }
}

TEST(Canvas, ImagesAreUploadedPremultiplied) {
    auto target = testsupport::MakeTarget(4, 4, {0, 0, 1, 1});
    auto image = SolidImage(4, 4, {1, 0, 0, 0.5f});
    target.canvas->DrawImage(*image, 0, 0);
    EXPECT_PIXEL(target, 1, 1, Color(0.5f, 0, 0.5f, 1));
}

TEST(Canvas, ImageWithHandleRotationAndScale) {
    auto target = testsupport::MakeTarget(32, 32, Color::Black());
    auto image = TwoToneImage();
    image->Handle({0.5f, 0.5f});
    // A quarter turn counter-clockwise at twice the size: the right (blue)
    // half now points up, 16 × 8 stands as 8 wide and 16 tall about (16, 16).
    target.canvas->DrawImage(*image, 16, 16, std::numbers::pi_v<float> / 2, 2, 2);
    EXPECT_PIXEL(target, 16, 9, Color(0, 0, 1));
    EXPECT_PIXEL(target, 14, 14, Color(0, 0, 1));
    EXPECT_PIXEL(target, 16, 22, Color(1, 0, 0));
    EXPECT_PIXEL(target, 18, 17, Color(1, 0, 0));
    EXPECT_PIXEL(target, 11, 16, Color::Black());
    EXPECT_PIXEL(target, 20, 16, Color::Black());
    EXPECT_PIXEL(target, 16, 7, Color::Black());
    EXPECT_PIXEL(target, 16, 24, Color::Black());
}

TEST(Canvas, ImageScaleAndTintMultiplyTheCanvasOnes) {
    auto target = testsupport::MakeTarget(16, 16, Color::Black());
    auto image = SolidImage(2, 2, Color::White());
    image->Scale({2, 1});
    image->Color({1, 0.5f, 1, 1});
    target.canvas->Color({0.5f, 1, 1, 1});
    target.canvas->DrawImage(*image, 0, 0, 0, 2, 2);
    EXPECT_PIXEL(target, 7, 3, Color(0.5f, 0.5f, 1, 1));
    EXPECT_PIXEL(target, 8, 3, Color::Black());
    EXPECT_PIXEL(target, 7, 4, Color::Black());
}

TEST(Canvas, SubImageDrawsOnlyItsPartOfTheTexture) {
    auto target = testsupport::MakeTarget(16, 8, Color::Black());
    auto image = TwoToneImage();
    Image right(*image, {4, 0, 8, 4});
    EXPECT_EQ(right.Width(), 4);
    EXPECT_EQ(right.GetTexture(), image->GetTexture());
    target.canvas->DrawImage(right, 0, 0);
    EXPECT_PIXEL(target, 0, 0, Color(0, 0, 1));
    EXPECT_PIXEL(target, 3, 3, Color(0, 0, 1));
    EXPECT_PIXEL(target, 4, 0, Color::Black());
    // A part of the sub-image stretched over a rectangle: its left half is still blue.
    target.canvas->DrawRect(8, 0, 8, 8, right, 0, 0, 2, 4);
    EXPECT_PIXEL(target, 15, 7, Color(0, 0, 1));
}

TEST(Canvas, RectanglesLinesPointsAndEllipses) {
    auto target = testsupport::MakeTarget(64, 32, Color::Black());
    auto& canvas = *target.canvas;
    canvas.DrawRect(2, 2, 4, 3);
    canvas.DrawLine(0, 10.5f, 20, 10.5f);
    canvas.DrawLine(30.5f, 0, 30.5f, 20);
    canvas.DrawPoint(25, 25);
    canvas.DrawOval(40, 0, 20, 10);
    const struct {
        int x, y;
        bool lit;
    } probes[] = {
        {2, 2, true},   {5, 4, true},   {6, 2, false},  {2, 5, false},              // rectangle
        {0, 10, true},  {19, 10, true}, {10, 9, false}, {10, 11, false}, {21, 10, false},  // horizontal line
        {30, 0, true},  {30, 19, true}, {29, 5, false}, {31, 5, false},             // vertical line
        {25, 25, true}, {26, 25, false}, {25, 26, false}, {24, 24, false},          // point
        {50, 5, true},  {41, 5, true},  {58, 5, true},  {50, 1, true},  {50, 8, true},  // ellipse
        {41, 1, false}, {58, 8, false}, {61, 5, false}, {50, 11, false},
    };
    for (const auto& p : probes) {
        EXPECT_PIXEL(target, p.x, p.y, p.lit ? Color::White() : Color::Black());
    }
}

TEST(Canvas, MatrixStackTransformsDrawing) {
    auto target = testsupport::MakeTarget(32, 32, Color::Black());
    auto& canvas = *target.canvas;
    canvas.PushMatrix();
    canvas.Translate(10, 10);
    canvas.Scale(2, 2);
    canvas.DrawRect(0, 0, 2, 2);  // covers 10..14
    canvas.PopMatrix();
    canvas.DrawRect(0, 0, 1, 1);
    EXPECT_PIXEL(target, 13, 13, Color::White());
    EXPECT_PIXEL(target, 14, 14, Color::Black());
    EXPECT_PIXEL(target, 0, 0, Color::White());
    EXPECT_PIXEL(target, 1, 1, Color::Black());
    canvas.PopMatrix();  // more pops than pushes leave the matrix alone
    EXPECT_EQ(canvas.Matrix(), platform::AffineMat3f{});
}

TEST(Canvas, ViewportScissorAndClear) {
    auto target = testsupport::MakeTarget(32, 32, Color::Black());
    auto& canvas = *target.canvas;
    canvas.Viewport({10, 4, 30, 24});
    canvas.DrawRect(0, 0, 2, 2);
    EXPECT_PIXEL(target, 0, 0, Color(1, 1, 1));  // read back in viewport coordinates
    canvas.Viewport({0, 0, 32, 32});
    EXPECT_PIXEL(target, 10, 4, Color::White());
    EXPECT_PIXEL(target, 0, 0, Color::Black());
    EXPECT_PIXEL(target, 12, 4, Color::Black());

    canvas.Viewport({10, 4, 30, 24});
    canvas.Scissor({1, 1, 3, 3});
    canvas.Color({1, 0, 0, 1});
    canvas.DrawRect(0, 0, 20, 20);
    canvas.Clear({0, 1, 0, 1});
    canvas.Scissor({});
    canvas.Viewport({0, 0, 32, 32});
    EXPECT_PIXEL(target, 11, 5, Color(0, 1, 0));
    EXPECT_PIXEL(target, 12, 6, Color(0, 1, 0));
    EXPECT_PIXEL(target, 13, 7, Color::Black());
    EXPECT_PIXEL(target, 10, 4, Color::White());
    EXPECT_PIXEL(target, 20, 20, Color::Black());
}

TEST(Canvas, RenderTargetIsReadBackTopDownAndDrawsUpright) {
    auto first = testsupport::MakeTarget(8, 8, Color::Black());
    first.canvas->Color({1, 0, 0, 1});
    first.canvas->DrawRect(0, 0, 8, 4);
    first.canvas->Color({0, 1, 0, 1});
    first.canvas->DrawRect(0, 4, 8, 4);
    const auto pixmap = first.canvas->CopyPixmap({0, 0, 8, 8});
    ASSERT_EQ(pixmap->Width(), 8);
    EXPECT_TRUE(testsupport::Near(pixmap->GetPixelARGB(0, 0), Color(1, 0, 0)));
    EXPECT_TRUE(testsupport::Near(pixmap->GetPixelARGB(7, 7), Color(0, 1, 0)));

    auto second = testsupport::MakeTarget(16, 16, Color::Black());
    second.canvas->DrawImage(*first.image, 4, 4);
    EXPECT_PIXEL(second, 5, 5, Color(1, 0, 0));
    EXPECT_PIXEL(second, 5, 10, Color(0, 1, 0));
    EXPECT_PIXEL(second, 3, 3, Color::Black());
}

TEST(Canvas, RenderTargetReadBackUndoesPremultiplication) {
    auto target = testsupport::MakeTarget(4, 4, Color::None());
    target.canvas->Color({1, 0.5f, 0, 0.5f});
    target.canvas->DrawRect(0, 0, 4, 4);
    EXPECT_PIXEL(target, 1, 1, Color(1, 0.5f, 0, 0.5f));
}

TEST(Canvas, MipmappedRenderTargetShowsWhatWasDrawnWhenScaledDown) {
    testsupport::App();
    auto image = std::make_shared<Image>(64, 64, platform::TextureFlags::FilterMipmap);
    platform::Canvas canvas(image);
    canvas.Clear({0, 1, 0, 1});
    canvas.Flush();
    auto target = testsupport::MakeTarget(16, 16, Color::Black());
    target.canvas->DrawImage(*image, 0, 0, 0, 0.125f, 0.125f);
    EXPECT_PIXEL(target, 4, 4, Color(0, 1, 0));
}

// A loaded image brings all of its smaller levels: scaled far down (and at
// sizes that halve to odd numbers) it shows the mean of its pixels.
TEST(Canvas, MipmappedImageShowsTheMeanOfItsPixelsWhenScaledDown) {
    for (const auto& [width, height] : {std::pair{16, 16}, std::pair{24, 10}, std::pair{7, 5}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        auto pixmap = std::make_shared<Pixmap>(width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) pixmap->SetPixel(x, y, (x + y) % 2 ? Color(1, 0, 0) : Color(0, 0, 1));
        }
        const Image image(pixmap, platform::TextureFlags::FilterMipmap);
        auto target = testsupport::MakeTarget(8, 8, Color::White());
        target.canvas->DrawImage(image, 0, 0, 0, 4.0f / float(width), 4.0f / float(height));
        const std::uint32_t pixel = target.Pixel(1, 1);
        EXPECT_TRUE(testsupport::Near(pixel, Color(0.5f, 0, 0.5f), 40)) << testsupport::Describe(pixel);
    }
}

TEST(Canvas, OneDrawCallPerRunOfTextureAndBlendMode) {
    auto target = testsupport::MakeTarget(64, 64, Color::Black());
    auto& canvas = *target.canvas;
    auto a = SolidImage(4, 4, Color::White());
    auto b = SolidImage(4, 4, Color(1, 0, 0));
    Image partOfA(*a, {0, 0, 2, 2});
    canvas.Flush();
    canvas.ResetDrawCalls();
    for (int k = 0; k < 100; ++k) canvas.DrawImage(k % 2 ? *a : partOfA, float(k % 60), float(k / 2));
    canvas.Flush();
    EXPECT_EQ(canvas.DrawCalls(), 1);

    canvas.ResetDrawCalls();
    canvas.DrawImage(*a, 0, 0);
    canvas.DrawImage(*b, 0, 0);  // texture change
    canvas.DrawImage(*b, 4, 0);
    canvas.BlendMode(BlendMode::Additive);  // blend change
    canvas.DrawImage(*b, 8, 0);
    canvas.DrawRect(0, 0, 1, 1);  // the white texture
    canvas.DrawLine(0, 0, 5, 5);
    canvas.DrawOval(0, 0, 5, 5);
    canvas.Flush();
    EXPECT_EQ(canvas.DrawCalls(), 4);
}

TEST(Canvas, BatchLargerThanItsCapacityDrawsEveryQuad) {
    auto target = testsupport::MakeTarget(8, 8, Color::Black());
    auto& canvas = *target.canvas;
    canvas.ResetDrawCalls();
    const int quads = platform::Renderer::MaxQuads + 1;
    for (int k = 0; k < quads - 1; ++k) canvas.DrawPoint(0, 0);
    canvas.DrawPoint(7, 7);  // the one quad past the full batch
    canvas.Flush();
    EXPECT_EQ(canvas.DrawCalls(), 2);
    EXPECT_PIXEL(target, 7, 7, Color::White());
}

TEST(Canvas, DrawingOrderHoldsAcrossCanvases) {
    // Drawing image into a target and then the target elsewhere must use the
    // target's new contents, and pending quads of one canvas go out before another's.
    auto source = testsupport::MakeTarget(4, 4, Color(1, 0, 0));
    auto destination = testsupport::MakeTarget(4, 4, Color::Black());
    destination.canvas->DrawImage(*source.image, 0, 0);
    source.canvas->Clear({0, 1, 0, 1});
    destination.canvas->DrawImage(*source.image, 2, 0);
    EXPECT_PIXEL(destination, 0, 0, Color(1, 0, 0));
    EXPECT_PIXEL(destination, 3, 0, Color(0, 1, 0));
}

TEST(Canvas, DiscardedImageIsUploadedAgainWhenDrawn) {
    auto target = testsupport::MakeTarget(4, 4, Color::Black());
    auto image = SolidImage(4, 4, Color(0, 0, 1));
    target.canvas->DrawImage(*image, 0, 0);
    target.canvas->Flush();
    EXPECT_TRUE(image->GetTexture()->Uploaded());
    image->Discard();
    EXPECT_FALSE(image->GetTexture()->Uploaded());
    target.canvas->Clear(Color::Black());
    target.canvas->DrawImage(*image, 0, 0);
    EXPECT_PIXEL(target, 2, 2, Color(0, 0, 1));
}

TEST(Canvas, LightingMultipliesDiffuseByAmbientAndLights) {
    auto target = testsupport::MakeTarget(32, 16, Color(0, 0, 1));
    auto& canvas = *target.canvas;
    auto light = SolidImage(8, 8, Color(0.25f, 0.25f, 0.25f));
    canvas.AmbientLight({0.5f, 0.5f, 0.5f, 1});
    canvas.BeginLighting();
    EXPECT_TRUE(canvas.Lighting());
    canvas.DrawRect(0, 0, 24, 16);
    canvas.AddLight(*light, 16, 0);
    canvas.EndLighting();
    EXPECT_FALSE(canvas.Lighting());
    EXPECT_PIXEL(target, 4, 4, Color(0.5f, 0.5f, 0.5f));      // ambient only
    EXPECT_PIXEL(target, 20, 4, Color(0.75f, 0.75f, 0.75f));  // ambient + light
    EXPECT_PIXEL(target, 28, 4, Color(0, 0, 1));              // nothing drawn: target unchanged
    // A light outside the pass does nothing.
    canvas.AddLight(*light, 0, 0);
    EXPECT_PIXEL(target, 4, 4, Color(0.5f, 0.5f, 0.5f));
}

TEST(Canvas, TextIsDrawnWithinItsMeasuredBox) {
    auto font = platform::Font::Load("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 20);
    ASSERT_TRUE(font);
    auto target = testsupport::MakeTarget(128, 64, Color::Black());
    auto& canvas = *target.canvas;
    canvas.Font(font);
    // Right-aligned and vertically centred on (100, 32).
    canvas.DrawText("Hä", 100, 32, 1, 0.5f);
    const auto pixels = canvas.CopyPixmap({0, 0, 128, 64});
    const float left = 100 - font->TextWidth("Hä");
    const float top = 32 - font->Height() / 2;
    int lit = 0, outside = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 128; ++x) {
            if ((pixels->GetPixelARGB(x, y) & 0xffffff) == 0) continue;
            ++lit;
            if (x < left - 1 || x > 101 || y < top - 1 || y > top + font->Height() + 1) ++outside;
        }
    }
    EXPECT_GT(lit, 40);
    EXPECT_EQ(outside, 0);
    // The stem of the H stands at the left edge of the box.
    int stem = 0;
    for (int y = 0; y < 64; ++y) stem += (pixels->GetPixelARGB(int(left) + 2, y) >> 8 & 0xff) > 200;
    EXPECT_GE(stem, 10);
}

TEST(Canvas, ImageKeepsItsPixelsWhenTheCallerDiscardsThePixmap) {
    auto target = testsupport::MakeTarget(4, 4, Color::Black());
    auto pixmap = std::make_shared<Pixmap>(4, 4);
    pixmap->Clear({0, 1, 0, 1});
    Image image(pixmap, 0);
    pixmap->Clear({1, 0, 0, 1});
    pixmap->Discard();
    target.canvas->DrawImage(image, 0, 0);
    EXPECT_PIXEL(target, 2, 2, Color(0, 1, 0));
}

TEST(Canvas, SubImageTargetDrawsIntoItsOwnPart) {
    auto whole = testsupport::MakeTarget(16, 16, Color::Black());
    auto part = std::make_shared<Image>(*whole.image, platform::Recti{8, 4, 16, 12});
    platform::Canvas canvas(part);
    EXPECT_EQ(canvas.Width(), 8);
    canvas.Clear({0, 0, 1, 1});
    canvas.DrawRect(0, 0, 2, 2);
    EXPECT_TRUE(testsupport::Near(canvas.CopyPixmap({0, 0, 1, 1})->GetPixelARGB(0, 0), Color::White()));
    EXPECT_PIXEL(whole, 8, 4, Color::White());
    EXPECT_PIXEL(whole, 10, 6, Color(0, 0, 1));
    EXPECT_PIXEL(whole, 7, 4, Color::Black());
    EXPECT_PIXEL(whole, 10, 12, Color::Black());
}

TEST(Canvas, CopyPixmapHasTheRequestedSizeEvenPastTheEdge) {
    auto target = testsupport::MakeTarget(4, 4, Color(1, 0, 0));
    const auto pixmap = target.canvas->CopyPixmap({2, -1, 6, 3});
    ASSERT_EQ(pixmap->Width(), 4);
    ASSERT_EQ(pixmap->Height(), 4);
    EXPECT_EQ(pixmap->GetPixelARGB(0, 0), 0u);  // above the target
    EXPECT_TRUE(testsupport::Near(pixmap->GetPixelARGB(1, 1), Color(1, 0, 0)));
    EXPECT_TRUE(testsupport::Near(pixmap->GetPixelARGB(1, 3), Color(1, 0, 0)));
    EXPECT_EQ(pixmap->GetPixelARGB(2, 1), 0u);  // right of the target
}

TEST(Canvas, TextureFlagsChooseTheFiltering) {
    // Black | white stretched eight times: linear filtering blends at the seam,
    // nearest (and the dynamic flag, which filters neither) keeps it sharp.
    const struct {
        int flags;
        bool blended;
    } cases[] = {
        {platform::TextureFlags::Filter | platform::TextureFlags::ClampS, true},
        {platform::TextureFlags::FilterMipmap | platform::TextureFlags::ClampS, true},
        {0, false},
        {platform::TextureFlags::Dynamic | platform::TextureFlags::Filter, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        auto pixmap = std::make_shared<Pixmap>(2, 1);
        pixmap->SetPixel(0, 0, Color::Black());
        pixmap->SetPixel(1, 0, Color::White());
        Image image(pixmap, c.flags);
        auto target = testsupport::MakeTarget(16, 1, Color(1, 0, 0));
        target.canvas->DrawImage(image, 0, 0, 0, 8, 1);
        const std::uint32_t left = target.Pixel(6, 0), right = target.Pixel(9, 0);
        EXPECT_EQ(testsupport::Near(left, Color::Black(), 10), !c.blended) << testsupport::Describe(left);
        EXPECT_EQ(testsupport::Near(right, Color::White(), 10), !c.blended) << testsupport::Describe(right);
        EXPECT_PIXEL(target, 0, 0, Color::Black());
        EXPECT_PIXEL(target, 15, 0, Color::White());
    }
}

TEST(Canvas, BumpImagesAreShadedByTheDirectionOfTheLight) {
    const std::string dir = testsupport::TempDir();
    Pixmap diffuse(8, 16);
    diffuse.Clear(Color::White());
    Pixmap normal(8, 16);
    normal.Clear({1, 0.5f, 0.5f, 1});  // every pixel faces right
    ASSERT_TRUE(diffuse.Save(dir + "diffuse.png") && normal.Save(dir + "normal.png"));
    auto bump = Image::LoadBump(dir + "diffuse.png", dir + "normal.png", "", 1, false, nullptr, 0);
    ASSERT_TRUE(bump);
    auto plain = SolidImage(8, 16, Color::White());
    auto light = SolidImage(64, 16, Color::White());
    light->Handle({0.5f, 0.5f});
    light->LightDepth(1);

    auto target = testsupport::MakeTarget(48, 16, Color(0, 0, 1));
    auto& canvas = *target.canvas;
    canvas.AmbientLight(Color::Black());
    canvas.BeginLighting();
    canvas.DrawImage(*bump, 0, 0);    // light on its right: lit
    canvas.DrawImage(*bump, 24, 0);   // light on its left: turned away
    canvas.DrawImage(*plain, 40, 0);  // no normals: lit whole
    canvas.AddLight(*light, 16, 8);
    canvas.EndLighting();
    EXPECT_TRUE(testsupport::Near(target.Pixel(4, 8), Color::White(), 8)) << testsupport::Describe(target.Pixel(4, 8));
    EXPECT_PIXEL(target, 28, 8, Color::Black());
    EXPECT_PIXEL(target, 44, 8, Color::White());
    EXPECT_PIXEL(target, 16, 8, Color(0, 0, 1));

    // Without bump images the same pass batches its lights in one draw call.
    canvas.ResetDrawCalls();
    canvas.BeginLighting();
    canvas.DrawImage(*plain, 40, 0);
    canvas.AddLight(*light, 16, 8);
    canvas.AddLight(*light, 20, 8);
    canvas.EndLighting();
    canvas.Flush();
    EXPECT_EQ(canvas.DrawCalls(), 4);  // diffuse, lights, light × diffuse, composition
    EXPECT_PIXEL(target, 44, 8, Color::White());
}

}  // namespace
