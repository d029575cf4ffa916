#include "kestrum-scenegraph/tiles.h"

#include <gtest/gtest.h>

#include <memory>

#include "kestrum-scenegraph/layerobject.h"
#include "kestrum-scenegraph/scenegraph.h"
#include "kestrum-scenegraph/virtualtileset.h"
#include "support/testsupport.h"

namespace sg = kestrum::scenegraph;
using platform::Vec2f;

TEST(TileFunctionsTest, ConvertBetweenProjectionsAndTiles) {
    EXPECT_EQ(sg::CartesianToIsometric(3, 5), Vec2f(-2, 4));
    EXPECT_EQ(sg::CartesianToIsometric(Vec2f(3, 5)), Vec2f(-2, 4));
    EXPECT_EQ(sg::IsometricToCartesian(-2, 4), Vec2f(3, 5));
    EXPECT_EQ(sg::IsometricToCartesian(Vec2f(-2, 4)), Vec2f(3, 5));
    EXPECT_FLOAT_EQ(sg::IsometricX(3, 5), -2);
    EXPECT_FLOAT_EQ(sg::IsometricY(3, 5), 4);

    struct Case {
        Vec2f point;
        float tileWidth, tileHeight, offsetX, offsetY;
        bool isometric;
        Vec2f tile;
    };
    const Case cases[] = {
        {{100, 70}, 32, 32, 1, 0, false, {2, 2}},
        {{-10, -70}, 32, 32, 0, 0, false, {-1, -3}},  // floor, not truncation
        {{0, 0}, 32, 32, 0, 0, false, {0, 0}},
        {{100, 70}, 0, 32, 0, 0, false, {0, 2}},      // a tile size of 0 divides nothing
        {{96, 48}, 64, 32, 0, 0, true, {1, 1}},
        {{96, 48}, 0, 0, 0, 0, true, {0, 0}},
    };
    for (const auto& c : cases) {
        const Vec2f tile = c.isometric
                               ? sg::IsometricToTile(c.point, c.tileWidth, c.tileHeight, c.offsetX, c.offsetY)
                               : sg::ScreenToTile(c.point, c.tileWidth, c.tileHeight, c.offsetX, c.offsetY);
        EXPECT_EQ(tile, c.tile) << c.point.x << ", " << c.point.y << " iso " << c.isometric;
    }
}

TEST(TileFunctionsTest, PlacesAndSnapsObjectsOntoTilesOfTheirOwnSize) {
    struct Case {
        Vec2f handle;
        bool snap;
        int a, b;
        Vec2f position;
    };
    const Case cases[] = {
        {{0.5f, 0.5f}, false, 2, 3, {80, 56}},
        {{0, 0}, false, 2, 3, {64, 48}},
        {{0.5f, 0.5f}, true, 70, 50, {80, 56}},
        {{0.5f, 0.5f}, true, -5, -5, {16, 8}},  // the division truncates toward zero
    };
    for (const auto& c : cases) {
        auto object = std::make_shared<sg::LayerObject>();
        object->Width(32);
        object->Height(16);
        object->Handle = c.handle;
        if (c.snap) {
            sg::SnapToTile(*object, c.a, c.b);
        } else {
            sg::PlaceAtTile(*object, c.a, c.b);
        }
        EXPECT_EQ(object->Location(), c.position) << c.a << ", " << c.b;
    }

    // An object smaller than one unit has no tile size and stays put.
    auto tiny = std::make_shared<sg::LayerObject>();
    tiny->Width(0.5f);
    tiny->Height(16);
    tiny->Location(Vec2f(7, 9));
    sg::SnapToTile(*tiny, 100, 100);
    EXPECT_EQ(tiny->Location(), Vec2f(7, 9));
}

class VirtualTilesetTest : public testing::Test {
protected:
    void SetUp() override {
        sg::InitScenegraphModule();
        dir = testsupport::TempDir();
        auto pixmap = std::make_shared<platform::Pixmap>(100, 64);
        pixmap->Clear(platform::Color(0, 0, 1, 1));
        ASSERT_TRUE(pixmap->Save(dir + "tiles.png"));
        ASSERT_TRUE(pixmap->Save(dir + "spaced.png"));
        ASSERT_TRUE(pixmap->Save(dir + "flat.png"));
    }
    std::string dir;
};

TEST_F(VirtualTilesetTest, CutsTheImageIntoNamedTiles) {
    sg::VirtualTileset tiles(dir + "tiles.png", 32, 32, 0, 0, {0.5f, 0.5f});
    EXPECT_EQ(tiles.Columns, 3);
    EXPECT_EQ(tiles.Rows, 2);
    EXPECT_EQ(tiles.ImageWidth, 100);
    EXPECT_EQ(tiles.ImageHeight, 64);
    for (int i = 0; i < 6; ++i) ASSERT_NE(tiles.GetTileImage(i), nullptr) << i;
    EXPECT_EQ(tiles.GetTileImage(4)->Rect(), platform::Recti(32, 32, 64, 64));
    EXPECT_EQ(tiles.GetTileImage(4)->Handle(), Vec2f(0.5f, 0.5f));
    EXPECT_EQ(tiles.GetTileImage(6), nullptr);
    EXPECT_EQ(tiles.GetTileImage(-1), nullptr);
    // The name is the path without its extension, a dot and the index.
    EXPECT_EQ(sg::VirtualTilesetContent->GetImage(dir + "tiles.2"), tiles.GetTileImage(2));

    // A second set from the same path replaces and re-handles nothing.
    const auto first = tiles.GetTileImage(0);
    sg::VirtualTileset again(dir + "tiles.png", 16, 16, 0, 0, {0, 0});
    EXPECT_EQ(again.GetTileImage(0), first);
    EXPECT_EQ(first->Handle(), Vec2f(0.5f, 0.5f));
    EXPECT_EQ(first->Width(), 32);

    sg::VirtualTileset spaced(dir + "spaced.png", 32, 32, 1, 2, {0, 0});
    EXPECT_EQ(spaced.Columns, 2);
    EXPECT_EQ(spaced.Rows, 1);
    EXPECT_EQ(spaced.GetTileImage(0)->Rect(), platform::Recti(1, 1, 33, 33));
    EXPECT_EQ(spaced.GetTileImage(1)->Rect(), platform::Recti(35, 1, 67, 33));
    EXPECT_EQ(spaced.GetTileImage(2), nullptr);
}

TEST_F(VirtualTilesetTest, DegenerateSetsGiveNoTiles) {
    struct Case {
        std::string path;
        int tileWidth, tileHeight, spacing;
        int columns, rows;
    };
    const Case cases[] = {
        {"flat.png", 32, 70, 0, 3, 0},      // lower than one tile
        {"flat.png", 0, 0, 0, 0, 0},        // no tile size: nothing divides by zero
        {"flat.png", -4, 2, 2, 0, 16},      // width plus spacing of 0
        {"missing.png", 32, 32, 0, 0, 0},   // the image does not load
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStdout();
        sg::VirtualTileset tiles(dir + c.path, c.tileWidth, c.tileHeight, 0, c.spacing, {0, 0});
        const std::string output = testing::internal::GetCapturedStdout();
        EXPECT_EQ(tiles.Columns, c.columns) << c.path << " " << c.tileWidth;
        EXPECT_EQ(tiles.Rows, c.rows) << c.path << " " << c.tileWidth;
        EXPECT_EQ(tiles.GetTileImage(0), nullptr) << c.path << " " << c.tileWidth;
        EXPECT_EQ(output.find("Image not found") != std::string::npos, c.path == "missing.png");
    }
}
