#include "kestrum-scenegraph/layershape.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "kestrum-scenegraph/layer.h"
#include "support/testsupport.h"

namespace sg = kestrum::scenegraph;
using platform::Color;
using platform::Vec2f;

namespace {

const Color kBlack{0, 0, 0, 1};
const Color kWhite{1, 1, 1, 1};

// Whether a pixel within one pixel of (x, y) is lit: thin lines may fall on
// either side of a pixel boundary.
bool LitNear(testsupport::Target& target, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (!testsupport::Near(target.Pixel(x + dx, y + dy), kBlack, 40)) return true;
        }
    }
    return false;
}

bool Lit(testsupport::Target& target, int x, int y) {
    return !testsupport::Near(target.Pixel(x, y), kBlack, 40);
}

}  // namespace

TEST(LayerPolygonTest, VerticesSetThePointsAndTheExtentFromTheOrigin) {
    struct Case {
        std::vector<float> values;
        std::size_t points;
        float width, height;
    };
    const Case cases[] = {
        {{0, 0, 10, 0, 10, 5}, 3, 10, 5},
        {{5, 5, 10, 8}, 2, 10, 8},             // the extent includes the origin
        {{-3.7f, 2, 4.2f, -1.5f}, 2, 7, 3},     // each coordinate truncated toward zero
        {{1, 2, 3}, 1, 1, 2},                   // a trailing odd value is ignored
        {{}, 0, 0, 0},
    };
    for (const auto& c : cases) {
        sg::LayerPolygon polygon;
        polygon.Width(99);
        polygon.Vertices(c.values);
        EXPECT_EQ(polygon.VertexList.size(), c.points);
        EXPECT_FLOAT_EQ(polygon.Width(), c.width);
        EXPECT_FLOAT_EQ(polygon.Height(), c.height);
    }
    sg::LayerPolygon polygon;
    polygon.Vertices({0, 0, 10, 0, 10, 5});
    EXPECT_EQ(polygon.Vertices(), (std::vector<float>{0, 0, 10, 0, 10, 5}));
}

TEST(LayerShapeDrawTest, RectangleDrawsAFrameOrAFilledBox) {
    testsupport::App();
    struct Case {
        int outline;
        bool centreLit;
    };
    for (const Case c : {Case{2, false}, Case{0, true}}) {
        auto target = testsupport::MakeTarget(64, 64);
        // 20 × 12 with the default centre handle at (30, 30): x 20 to 40, y 24 to 36.
        sg::LayerRectangle rectangle(20, 12);
        rectangle.OutlineWidth = c.outline;
        rectangle.Location(Vec2f(30, 30));
        rectangle.Color = Color(1, 0, 0, 1);
        rectangle.Draw(*target.canvas);
        EXPECT_TRUE(testsupport::Near(target.Pixel(21, 25), Color(1, 0, 0, 1))) << c.outline;
        EXPECT_TRUE(testsupport::Near(target.Pixel(38, 34), Color(1, 0, 0, 1))) << c.outline;
        EXPECT_EQ(Lit(target, 30, 30), c.centreLit) << c.outline;
        EXPECT_FALSE(Lit(target, 19, 30)) << c.outline;
        EXPECT_FALSE(Lit(target, 30, 37)) << c.outline;
        EXPECT_EQ(target.canvas->Color(), Color(1, 0, 0, 1));  // drawing state stays set
    }

    // Isometric: the projected outline, a diamond for a square; nothing inside.
    auto target = testsupport::MakeTarget(64, 64);
    sg::LayerRectangle diamond(20, 20);
    diamond.Orientation = 1;
    diamond.Handle = Vec2f(0, 0);
    diamond.Location(Vec2f(30, 0));  // projected to (30, 15)
    diamond.Color = kWhite;
    diamond.Draw(*target.canvas);
    // Corners at (30, 15), (50, 25), (30, 35) and (10, 25).
    EXPECT_TRUE(LitNear(target, 40, 20));
    EXPECT_TRUE(LitNear(target, 40, 30));
    EXPECT_TRUE(LitNear(target, 20, 30));
    EXPECT_TRUE(LitNear(target, 20, 20));
    EXPECT_FALSE(Lit(target, 30, 25));
    EXPECT_FALSE(LitNear(target, 30, 10));

    // Any other orientation draws nothing.
    auto blank = testsupport::MakeTarget(64, 64);
    diamond.Orientation = 2;
    diamond.Draw(*blank.canvas);
    EXPECT_FALSE(LitNear(blank, 40, 20));
}

TEST(LayerShapeDrawTest, PolygonDrawsClosedOpenOrNothingByType) {
    testsupport::App();
    struct Case {
        int type;
        bool first, second, closing;
    };
    const Case cases[] = {
        {1, true, true, true},
        {2, true, true, false},
        {0, false, false, false},
    };
    for (const auto& c : cases) {
        auto target = testsupport::MakeTarget(64, 64);
        // A right triangle (0, 0), (40, 0), (40, 30) with its box's top-left at (10, 10).
        auto polygon = sg::LayerPolygon::New(nullptr, {0, 0, 40, 0, 40, 30}, c.type);
        polygon->Handle = Vec2f(0, 0);
        polygon->Location(Vec2f(10, 10));
        polygon->Color = kWhite;
        polygon->Draw(*target.canvas);
        EXPECT_EQ(LitNear(target, 30, 10), c.first) << c.type;
        EXPECT_EQ(LitNear(target, 50, 25), c.second) << c.type;
        EXPECT_EQ(LitNear(target, 30, 25), c.closing) << c.type;  // on the hypotenuse
        EXPECT_FALSE(LitNear(target, 20, 35)) << c.type;
    }

    // Isometric: the closed outline ignores the handle, the open chain shifts
    // by it in the positive direction. The segment (0, 0)-(20, 0) projects to
    // (0, 0)-(20, 10); the position (10, 10) projects to (0, 10).
    struct IsoCase {
        int type;
        int litX, darkX;  // x of the segment's midpoint at y 15, and where the other rule would put it
    };
    for (const IsoCase c : {IsoCase{1, 10, 20}, IsoCase{2, 20, 10}}) {
        auto target = testsupport::MakeTarget(64, 64);
        auto polygon = sg::LayerPolygon::New(nullptr, {0, 0, 20, 0}, c.type);
        polygon->Orientation = 1;
        polygon->Location(Vec2f(10, 10));
        polygon->Color = kWhite;
        polygon->Draw(*target.canvas);
        EXPECT_TRUE(LitNear(target, c.litX, 15)) << c.type;
        EXPECT_FALSE(Lit(target, c.darkX, 15)) << c.type;
    }
}

TEST(LayerShapeDrawTest, EllipseSpansTwiceItsSizeWhateverItsTransform) {
    testsupport::App();
    auto target = testsupport::MakeTarget(160, 100);
    auto ellipse = sg::LayerEllipse::New(nullptr, 20, 10);
    ellipse->Location(Vec2f(100, 50));
    ellipse->Rotation = 0.7f;
    ellipse->Scale = Vec2f(3, 3);
    ellipse->Handle = Vec2f(0, 0);
    ellipse->Color = Color(0, 1, 0, 1);
    ellipse->Draw(*target.canvas);
    struct Probe {
        int x, y;
        bool lit;
    };
    const Probe probes[] = {
        {100, 50, true}, {82, 50, true}, {117, 50, true}, {100, 42, true}, {100, 57, true},
        {77, 50, false}, {123, 50, false}, {100, 38, false}, {100, 62, false}, {118, 58, false},
    };
    for (const auto& p : probes) EXPECT_EQ(Lit(target, p.x, p.y), p.lit) << p.x << ", " << p.y;
}

TEST(PixmapToTilemapTest, MakesOneRectanglePerOpaquePixel) {
    struct Case {
        int offsetX, offsetY;
        Vec2f position;
    };
    for (const Case c : {Case{0, 0, {16, 16}}, Case{1, 2, {48, 80}}}) {
        auto layer = sg::Layer::New(nullptr);
        layer->TileSize(platform::Vec2i(32, 32));
        platform::Pixmap pixmap(2, 1);
        pixmap.SetPixelARGB(0, 0, 0xFFFF0000);
        pixmap.SetPixelARGB(1, 0, 0x0000FF00);  // fully transparent: no rectangle
        sg::PixmapToTilemap(layer.get(), pixmap, c.offsetX, c.offsetY, 2, 0);
        const auto objects = layer->GetAllLayerObjects(true, true);
        ASSERT_EQ(objects.Length(), 1);
        auto rectangle = std::dynamic_pointer_cast<sg::LayerRectangle>(objects[0]);
        ASSERT_NE(rectangle, nullptr);
        EXPECT_EQ(rectangle->Location(), c.position);
        EXPECT_FLOAT_EQ(rectangle->Width(), 30);
        EXPECT_FLOAT_EQ(rectangle->Height(), 30);
        EXPECT_EQ(rectangle->OutlineWidth, 0);
        EXPECT_EQ(rectangle->Color, Color(1, 0, 0, 1));
    }

    // Column by column, top to bottom within a column; the colour ignores the alpha.
    auto layer = sg::Layer::New(nullptr);
    layer->TileSize(platform::Vec2i(8, 8));
    platform::Pixmap pixmap(2, 2);
    pixmap.SetPixelARGB(0, 1, 0x80336699);
    pixmap.SetPixelARGB(1, 0, 0xFF000000);
    sg::PixmapToTilemap(layer.get(), pixmap, 0, 0, 0, 1);
    ASSERT_EQ(layer->CountLayerObjects(), 2);

    // No layer, or a picture that does not load: nothing, and no crash.
    sg::PixmapToTilemap(nullptr, pixmap, 0, 0, 0, 0);
    testing::internal::CaptureStdout();
    sg::PixmapToTilemap(layer.get(), testsupport::TempDir() + "missing.png", 0, 0, 0, 0);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Image not found"), std::string::npos);
    EXPECT_EQ(layer->CountLayerObjects(), 2);
}
