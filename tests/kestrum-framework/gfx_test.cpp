#include "kestrum-framework/gfx.h"

#include <cmath>
#include <filesystem>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/testsupport.h"

namespace fw = kestrum::framework;
using platform::Color;
using platform::Recti;
using platform::Vec2f;

namespace {

const Color Red{1, 0, 0, 1};
const Color Green{0, 1, 0, 1};
const Color Blue{0, 0, 1, 1};
const Color Black = Color::Black();
const Color White = Color::White();

// An unfiltered image painted by a function of the pixel position.
std::shared_ptr<platform::Image> Painted(int width, int height, const std::function<Color(int, int)>& paint) {
    auto pixmap = std::make_shared<platform::Pixmap>(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixmap->SetPixel(x, y, paint(x, y));
    }
    return std::make_shared<platform::Image>(pixmap, 0);
}

// A 32 × 32 nine-patch skin: red 8 × 8 corners, green edges, a blue centre.
std::shared_ptr<platform::Image> Skin() {
    return Painted(32, 32, [](int x, int y) {
        const bool edgeX = x < 8 || x >= 24, edgeY = y < 8 || y >= 24;
        if (edgeX && edgeY) return Red;
        if (edgeX || edgeY) return Green;
        return Blue;
    });
}

struct Probe {
    int x, y;
    Color color;
};

void ExpectPixels(testsupport::Target& target, const std::vector<Probe>& probes) {
    const auto pixels = target.canvas->CopyPixmap({0, 0, target.image->Width(), target.image->Height()});
    for (const Probe& p : probes) {
        const auto argb = pixels->GetPixelARGB(p.x, p.y);
        EXPECT_TRUE(testsupport::Near(argb, p.color))
            << "at " << p.x << "," << p.y << ": " << testsupport::Describe(argb);
    }
}

// The bounding box of the pixels that are not black.
Recti LitBox(testsupport::Target& target) {
    const auto pixels = target.canvas->CopyPixmap({0, 0, target.image->Width(), target.image->Height()});
    Recti box{-1, -1, -1, -1};
    bool any = false;
    for (int y = 0; y < pixels->Height(); ++y) {
        for (int x = 0; x < pixels->Width(); ++x) {
            if ((pixels->GetPixelARGB(x, y) & 0x00FFFFFF) == 0) continue;
            box = any ? Recti(std::min(box.min.x, x), std::min(box.min.y, y), std::max(box.max.x, x + 1),
                              std::max(box.max.y, y + 1))
                      : Recti(x, y, x + 1, y + 1);
            any = true;
        }
    }
    return box;
}

bool SamePixels(testsupport::Target& a, testsupport::Target& b) {
    const int w = a.image->Width(), h = a.image->Height();
    const auto pa = a.canvas->CopyPixmap({0, 0, w, h});
    const auto pb = b.canvas->CopyPixmap({0, 0, w, h});
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (pa->GetPixelARGB(x, y) != pb->GetPixelARGB(x, y)) return false;
        }
    }
    return true;
}

}  // namespace

TEST(NinePatch, UniformBorderStretchesTheMiddleAndKeepsTheCorners) {
    auto target = testsupport::MakeTarget(130, 70);
    const auto skin = Skin();
    fw::Draw9Patch(*target.canvas, skin, std::vector<int>{8}, 10, 10, 100, 40, 0, 1, 1, 0, 0);
    ExpectPixels(target, {
                             {10, 10, Red},    {17, 17, Red},    {18, 10, Green},  {17, 18, Green},
                             {18, 18, Blue},   {101, 41, Blue},  {102, 30, Green}, {60, 42, Green},
                             {102, 42, Red},   {109, 49, Red},   {60, 49, Green},  {9, 10, Black},
                             {110, 49, Black}, {109, 50, Black}, {10, 9, Black},
                         });
    EXPECT_EQ(LitBox(target), Recti(10, 10, 110, 50));

    // The one-value form, the Int overload and the 36-value form agree.
    auto viaInt = testsupport::MakeTarget(130, 70);
    fw::Draw9Patch(*viaInt.canvas, skin, 8, 10, 10, 100, 40, 0, 1, 1, 0, 0);
    EXPECT_TRUE(SamePixels(target, viaInt));
    auto viaArray = testsupport::MakeTarget(130, 70);
    fw::Draw9Patch(*viaArray.canvas, skin, fw::MakeNinePatch(*skin, 8), 10, 10, 100, 40, 0, 1, 1, 0, 0);
    EXPECT_TRUE(SamePixels(target, viaArray));
}

TEST(NinePatch, MakeNinePatchListsTheNineSourceRectangles) {
    const auto skin = Painted(32, 20, [](int, int) { return White; });
    const std::vector<int> expected = {0, 0,  4, 4,  4,  0,  24, 4,  28, 0,  4, 4,  //
                                       0, 4,  4, 12, 4,  4,  24, 12, 28, 4,  4, 12,  //
                                       0, 16, 4, 4,  4,  16, 24, 4,  28, 16, 4, 4};
    EXPECT_EQ(fw::MakeNinePatch(*skin, 4), expected);
}

TEST(NinePatch, HandleRotationAndScaleMoveTheWholeBox) {
    const auto skin = Skin();
    auto plain = testsupport::MakeTarget(130, 70);
    fw::Draw9Patch(*plain.canvas, skin, std::vector<int>{8}, 10, 20, 100, 40, 0, 1, 1, 0, 0);
    auto centred = testsupport::MakeTarget(130, 70);
    fw::Draw9Patch(*centred.canvas, skin, std::vector<int>{8}, 60, 40, 100, 40, 0, 1, 1, 0.5f, 0.5f);
    EXPECT_TRUE(SamePixels(plain, centred));

    auto scaled = testsupport::MakeTarget(130, 70);
    fw::Draw9Patch(*scaled.canvas, skin, std::vector<int>{8}, 10, 10, 100, 40, 0, 0.5f, 0.5f, 0, 0);
    EXPECT_EQ(LitBox(scaled), Recti(10, 10, 60, 30));

    // A quarter turn (counter-clockwise on screen) about the top-left corner.
    auto turned = testsupport::MakeTarget(130, 130);
    fw::Draw9Patch(*turned.canvas, skin, std::vector<int>{8}, 20, 110, 100, 40, std::numbers::pi_v<float> / 2, 1,
                   1, 0, 0);
    EXPECT_EQ(LitBox(turned), Recti(20, 10, 60, 110));
    EXPECT_EQ(skin->Handle(), Vec2f(0, 0));
}

TEST(NinePatch, OtherBorderCountsDrawThePlainImageAndNullDrawsNothing) {
    const auto skin = Skin();
    skin->Handle({0.5f, 0.5f});
    for (const std::vector<int>& borders : {std::vector<int>{}, std::vector<int>{1, 2, 3, 4, 5}}) {
        auto target = testsupport::MakeTarget(130, 70);
        fw::Draw9Patch(*target.canvas, skin, borders, 10, 10, 100, 40, 0, 1, 1, 0, 0);
        EXPECT_EQ(LitBox(target), Recti(10, 10, 42, 42)) << borders.size() << " values";
        ExpectPixels(target, {{10, 10, Red}, {25, 25, Blue}});
    }
    EXPECT_EQ(skin->Handle(), Vec2f(0.5f, 0.5f)) << "the image's own handle is left alone";

    auto target = testsupport::MakeTarget(16, 16);
    fw::Draw9Patch(*target.canvas, nullptr, std::vector<int>{8}, 0, 0, 16, 16, 0, 1, 1, 0, 0);
    fw::Draw9Patch(*target.canvas, nullptr, 8, 0, 0, 16, 16, 0, 1, 1, 0, 0);
    EXPECT_EQ(LitBox(target).min.x, -1);
}

TEST(NinePatch, TargetSmallerThanTheCornersKeepsTheCornersInPlace) {
    // width 10 < 2 × 8: the middle pieces get a negative width (-6) and the
    // right corner starts 6 units left of the left corner's end.
    auto target = testsupport::MakeTarget(60, 60);
    fw::Draw9Patch(*target.canvas, Skin(), std::vector<int>{8}, 20, 20, 10, 40, 0, 1, 1, 0, 0);
    ExpectPixels(target, {{20, 20, Red}, {21, 21, Red}, {29, 20, Red}, {20, 59, Red}, {29, 59, Red}, {20, 40, Green}});
    EXPECT_EQ(LitBox(target), Recti(20, 20, 30, 60));
}

TEST(DrawImageEx, PlacesTheGivenHandleAndRestoresTheImagesOwn) {
    const auto image = Painted(16, 8, [](int x, int) { return x < 8 ? Red : Green; });
    image->Handle({0.5f, 0.5f});
    struct Case {
        float handleX, handleY, scale;
        Recti box;
    };
    for (const Case& c : {Case{0, 0, 1, {20, 20, 36, 28}}, Case{0.5f, 0.5f, 1, {12, 16, 28, 24}},
                          Case{1, 1, 1, {4, 12, 20, 20}}, Case{1, 0, 2, {-12, 20, 20, 36}}}) {
        auto target = testsupport::MakeTarget(48, 48);
        fw::DrawImageEx(*target.canvas, image, 20, 20, 0, c.scale, c.scale, c.handleX, c.handleY, false);
        const Recti expected{std::max(c.box.min.x, 0), c.box.min.y, c.box.max.x, c.box.max.y};
        EXPECT_EQ(LitBox(target), expected) << c.handleX << "," << c.handleY;
        EXPECT_EQ(image->Handle(), Vec2f(0.5f, 0.5f));
    }
}

TEST(DrawImageEx, PaddedDrawLeavesTheOnePixelGutterOut) {
    // A green 8 × 8 inside a red one-pixel frame.
    const auto image = Painted(10, 10, [](int x, int y) { return x == 0 || y == 0 || x == 9 || y == 9 ? Red : Green; });
    auto target = testsupport::MakeTarget(40, 40);
    fw::DrawImageEx(*target.canvas, image, 10, 10, 0, 1, 1, 0, 0, true);
    EXPECT_EQ(LitBox(target), Recti(10, 10, 20, 20));
    ExpectPixels(target, {{10, 10, Green}, {19, 19, Green}, {14, 10, Green}});
}

TEST(DrawThickLine, LaysTheImageAlongTheLine) {
    // 8 × 4: red left half, green right half.
    const auto image = Painted(8, 4, [](int x, int) { return x < 4 ? Red : Green; });
    struct Case {
        const char* name;
        float x1, y1, x2, y2;
        int mode;
        Recti box;
        std::vector<Probe> probes;
    };
    const std::vector<Case> cases = {
        {"stretched", 10, 20, 50, 20, 0, {10, 18, 50, 22}, {{29, 20, Red}, {30, 20, Green}}},
        {"repeated", 10, 20, 50, 20, 1, {10, 18, 50, 22}, {{13, 20, Red}, {14, 20, Green}, {18, 20, Red}}},
        {"own size", 10, 20, 50, 20, 2, {10, 18, 18, 22}, {{13, 20, Red}, {14, 20, Green}}},
        {"downward", 20, 10, 20, 50, 0, {18, 10, 22, 50}, {{20, 20, Red}, {20, 40, Green}}},
        {"leftward", 50, 20, 10, 20, 0, {10, 18, 50, 22}, {{40, 20, Red}, {20, 20, Green}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto target = testsupport::MakeTarget(64, 64);
        fw::DrawThickLine(*target.canvas, image, c.x1, c.y1, c.x2, c.y2, c.mode);
        EXPECT_EQ(LitBox(target), c.box);
        ExpectPixels(target, c.probes);
    }

    auto repeat = testsupport::MakeTarget(64, 64);
    fw::DrawThickLine(*repeat.canvas, image, Vec2f(10, 20), Vec2f(50, 20), true);
    ExpectPixels(repeat, {{18, 20, Red}, {22, 20, Green}});
}

TEST(DrawThickLine, UnknownModesDrawNothingAndNoImageDrawsALine) {
    const auto image = Painted(8, 4, [](int, int) { return White; });
    for (int mode : {-1, 3}) {
        auto target = testsupport::MakeTarget(64, 64);
        fw::DrawThickLine(*target.canvas, image, 10, 20, 50, 20, mode);
        EXPECT_EQ(LitBox(target).min.x, -1) << mode;
    }
    auto target = testsupport::MakeTarget(64, 64);
    fw::DrawThickLine(*target.canvas, nullptr, 10, 20.5f, 50, 20.5f, 0);
    EXPECT_EQ(LitBox(target), Recti(10, 20, 50, 21));
}

TEST(DrawTiled, TilesScrollSeamlesslyWithTheOffset) {
    // 10 × 10: five red columns, then five green ones.
    const auto tile = Painted(10, 10, [](int x, int) { return x < 5 ? Red : Green; });
    for (float offset : {0.0f, 3.0f, 13.0f, -7.0f, 128.0f}) {
        auto target = testsupport::MakeTarget(40, 20);
        fw::DrawTiled(*target.canvas, tile, offset, offset, 40, 20);
        std::vector<Probe> probes;
        for (int x = 0; x < 40; ++x) {
            const int local = ((x + static_cast<int>(offset)) % 10 + 10) % 10;
            probes.push_back({x, 10, local < 5 ? Red : Green});
            probes.push_back({x, 0, local < 5 ? Red : Green});
        }
        SCOPED_TRACE(offset);
        ExpectPixels(target, probes);
    }
}

TEST(ProgressBar, FillsTheShareOfTheValueAndNeverDividesByZero) {
    const Color back{0, 0.5f, 0, 1};
    struct Case {
        int value, max;
        int filledUntil;  // first x not covered by the bar
    };
    for (const Case& c : {Case{0, 120, 10}, Case{30, 120, 60}, Case{120, 120, 210}, Case{500, 120, 210},
                          Case{5, 0, 210}, Case{-3, 10, 10}}) {
        auto target = testsupport::MakeTarget(240, 20);
        fw::DrawProgressBar(*target.canvas, 10, 5, 200, 4, c.value, c.max, back, Green, 0, 0);
        std::vector<Probe> probes = {{9, 6, Black}, {210, 6, Black}, {100, 9, Black}};
        if (c.filledUntil > 10) probes.push_back({c.filledUntil - 1, 6, Green});
        if (c.filledUntil < 210) probes.push_back({c.filledUntil, 6, back});
        SCOPED_TRACE(std::to_string(c.value) + " of " + std::to_string(c.max));
        ExpectPixels(target, probes);
        EXPECT_EQ(target.canvas->Color(), c.value > 0 ? Green : back) << "the last colour stays set";
    }

    // The handle places the bar; the vertical bar fills from the bottom.
    auto target = testsupport::MakeTarget(240, 60);
    fw::DrawProgressBar(*target.canvas, 120, 10, 200, 4, 30, 120, back, Green, 0.5f, 0.5f);
    fw::DrawVProgressBar(*target.canvas, 100, 20, 4, 40, 10, 40, back, Blue, 0, 0);
    ExpectPixels(target, {{20, 8, Green}, {69, 11, Green}, {70, 8, back}, {219, 8, back}, {220, 8, Black},
                          {101, 20, back}, {101, 49, back}, {101, 50, Blue}, {101, 59, Blue}});
}

TEST(DrawFade, CoversTheViewportAtOneMinusTheAmount) {
    struct Case {
        float amount;
        float expectedRed;
    };
    for (const Case& c : {Case{0.75f, 0.25f}, Case{0, 1}, Case{-0.5f, 1}, Case{1, 0}, Case{2, 0},
                          Case{std::nanf(""), 0}}) {
        auto target = testsupport::MakeTarget(20, 10);
        target.canvas->BlendMode(platform::BlendMode::Additive);
        fw::DrawFade(*target.canvas, c.amount, Color(1, 0, 0, 0.1f));
        ExpectPixels(target, {{0, 0, {c.expectedRed, 0, 0, 1}}, {19, 9, {c.expectedRed, 0, 0, 1}}});
        if (c.amount < 1) {
            EXPECT_EQ(target.canvas->BlendMode(), platform::BlendMode::Alpha) << c.amount;
        }
    }
}

TEST(DrawRectOutline, BarsInsideTheEdgeOrOutsideForANegativeThickness) {
    auto inside = testsupport::MakeTarget(40, 40);
    fw::DrawRectOutline(*inside.canvas, 5, 5, 20, 10, 2);
    EXPECT_EQ(LitBox(inside), Recti(5, 5, 25, 15));
    ExpectPixels(inside, {{5, 5, White}, {6, 6, White}, {7, 7, Black}, {22, 12, Black}, {23, 13, White},
                          {15, 14, White}, {15, 12, Black}});

    auto outside = testsupport::MakeTarget(40, 40);
    fw::DrawRectOutline(*outside.canvas, 5, 5, 20, 10, -2);
    EXPECT_EQ(LitBox(outside), Recti(3, 3, 27, 17));
    ExpectPixels(outside, {{3, 3, White}, {4, 4, White}, {5, 5, Black}, {24, 14, Black}, {26, 16, White}});
}

TEST(DrawEllipseOutline, PointsLieOnTheEllipseAndAreSymmetric) {
    auto target = testsupport::MakeTarget(64, 64);
    fw::DrawEllipseOutline(*target.canvas, 30, 30, 20.7f, 10.2f);
    EXPECT_EQ(LitBox(target), Recti(10, 20, 51, 41));
    const auto pixels = target.canvas->CopyPixmap({0, 0, 64, 64});
    int lit = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            if ((pixels->GetPixelARGB(x, y) & 0x00FFFFFF) == 0) continue;
            ++lit;
            const float dx = static_cast<float>(x - 30) / 20, dy = static_cast<float>(y - 30) / 10;
            EXPECT_NEAR(std::sqrt(dx * dx + dy * dy), 1.0f, 0.1f) << x << "," << y;
            EXPECT_NE(pixels->GetPixelARGB(60 - x, y) & 0x00FFFFFF, 0u) << "mirror of " << x << "," << y;
            EXPECT_NE(pixels->GetPixelARGB(x, 60 - y) & 0x00FFFFFF, 0u) << "mirror of " << x << "," << y;
        }
    }
    EXPECT_GT(lit, 60) << "a closed outline";
    ExpectPixels(target, {{30, 20, White}, {30, 40, White}, {10, 30, White}, {50, 30, White}, {30, 30, Black}});

    // Radii whose squares overflow 32 bits still draw (points off the target).
    fw::DrawEllipseOutline(*target.canvas, 30, 30, 70000, 3);
}

TEST(ColorFromBytes, DividesEachByteBy256) {
    EXPECT_EQ(fw::ColorFromBytes(255, 255, 255, 255), Color(0.99609375f, 0.99609375f, 0.99609375f, 0.99609375f));
    EXPECT_EQ(fw::ColorFromBytes(0, 128, 64, 256), Color(0, 0.5f, 0.25f, 1));
    EXPECT_EQ(fw::ColorFromBytes(60, 154, 238, 255).r, 60.0f / 256);
}

TEST(TweakImage, NudgesWhileKeysAreHeld) {
    const auto image = Painted(2, 2, [](int, int) { return White; });
    auto& keys = platform::Keyboard();
    keys.Reset();
    testing::internal::CaptureStdout();
    keys.SetKey('s', true);
    fw::TweakImage(image, 'c', 'd', 's', 'r', 'g', 'b', 'l');
    fw::TweakImage(image, 'c', 'd', 's', 'r', 'g', 'b', 'l');
    EXPECT_NEAR(image->Scale().x, 1.2f, 1e-5f);
    keys.SetKey('s', false);
    keys.SetKey('d', true);
    keys.SetKey('l', true);
    fw::TweakImage(image, 'c', 'd', 's', 'r', 'g', 'b', 'l');
    EXPECT_EQ(image->LightDepth(), 90);
    keys.Reset();
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed.substr(printed.rfind('\n', printed.size() - 2) + 1), "90\n");
    fw::TweakImage(nullptr, 'c', 'd', 's', 'r', 'g', 'b', 'l');
}

class FrameStrips : public ::testing::Test {
protected:
    void SetUp() override { dir_ = testsupport::TempDir(); }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Strip(int width, int height) {
        platform::Pixmap pixmap(width, height);
        pixmap.Clear(White);
        const std::string path = dir_ + "strip.png";
        EXPECT_TRUE(pixmap.Save(path));
        return path;
    }
    std::string dir_;
};

TEST_F(FrameStrips, LoadFramesCutsTheStripAtTruncatedPitches) {
    const std::string path = Strip(100, 10);
    struct Case {
        bool padded;
        std::vector<Recti> frames;
    };
    for (const Case& c : {Case{false, {{0, 0, 33, 10}, {33, 0, 66, 10}, {66, 0, 100, 10}}},
                          Case{true, {{1, 0, 32, 10}, {34, 0, 65, 10}, {67, 0, 99, 10}}}}) {
        const auto frames = fw::LoadFrames(path, 3, c.padded);
        ASSERT_EQ(frames.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(frames[i]->Rect(), c.frames[i]) << "frame " << i << (c.padded ? " padded" : "");
            EXPECT_EQ(frames[i]->GetTexture(), frames[0]->GetTexture()) << "one shared texture";
        }
        EXPECT_EQ(frames[0]->GetTexture()->Flags(), 12);
    }
    EXPECT_TRUE(fw::LoadFrames(dir_ + "missing.png", 3, false).empty());
    EXPECT_TRUE(fw::LoadFrames(path, 0, false).empty());
    EXPECT_TRUE(fw::LoadFrames(path, -2, false).empty());
}

TEST_F(FrameStrips, SetHandleSetsEveryImage) {
    const auto frames = fw::LoadFrames(Strip(40, 10), 4, false);
    fw::SetHandle(frames, {0.5f, 1});
    for (const auto& frame : frames) EXPECT_EQ(frame->Handle(), Vec2f(0.5f, 1));
    fw::SetHandle({}, {1, 1});
    fw::SetHandle({nullptr}, {1, 1});
}

TEST(CreateTiledImage, DrawsOnlyWholeTiles) {
    testsupport::App();
    const auto tile = Painted(30, 30, [](int, int) { return Red; });
    tile->Handle({0.5f, 0.5f});
    const auto tiled = fw::CreateTiledImage(tile, 100, 50);
    ASSERT_TRUE(tiled);
    EXPECT_EQ(tiled->Width(), 100);
    EXPECT_EQ(tiled->Height(), 50);
    platform::Canvas canvas(tiled);
    const auto pixels = canvas.CopyPixmap({0, 0, 100, 50});
    EXPECT_EQ(pixels->GetPixelARGB(0, 0), 0xFFFF0000u);
    EXPECT_EQ(pixels->GetPixelARGB(89, 29), 0xFFFF0000u);
    EXPECT_EQ(pixels->GetPixelARGB(90, 10) >> 24, 0u) << "no partial tile at the right";
    EXPECT_EQ(pixels->GetPixelARGB(10, 30) >> 24, 0u) << "no partial tile at the bottom";
    EXPECT_EQ(fw::CreateTiledImage(nullptr, 10, 10), nullptr);
    EXPECT_EQ(fw::CreateTiledImage(tile, 0, 10), nullptr);
}

TEST(MaskImage, EveryVisiblePixelTakesExactlyTheMaskColour) {
    auto pixmap = std::make_shared<platform::Pixmap>(3, 1);
    pixmap->SetPixelARGB(0, 0, 0x00FF00FFu);  // invisible, with colour
    pixmap->SetPixelARGB(1, 0, 0x01102030u);  // barely visible
    pixmap->SetPixelARGB(2, 0, 0xFF0000FFu);
    const auto mask = fw::MaskImage(pixmap, Color(1, 1, 1, 1), 12);
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->GetTexture()->Flags(), 12);
    EXPECT_EQ(pixmap->GetPixelARGB(0, 0), 0x00FF00FFu);
    EXPECT_EQ(pixmap->GetPixelARGB(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(pixmap->GetPixelARGB(2, 0), 0xFFFFFFFFu);

    auto clear = std::make_shared<platform::Pixmap>(2, 2);
    const auto masks = fw::CreateImageMask({clear, nullptr}, Red, 0);
    ASSERT_EQ(masks.size(), 2u);
    EXPECT_TRUE(masks[0]) << "a fully transparent pixmap still gives an image";
    EXPECT_EQ(masks[1], nullptr);
    EXPECT_EQ(clear->GetPixelARGB(1, 1), 0u);
}

TEST(Screenshot, CapturesTheViewportAndSavesImages) {
    auto target = testsupport::MakeTarget(20, 10, Blue);
    target.canvas->Color(Red);
    target.canvas->DrawRect(0, 0, 5, 10);

    const auto shot = fw::Screenshot(*target.canvas);
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->Width(), 20);
    EXPECT_EQ(shot->Height(), 10);
    EXPECT_EQ(shot->GetPixelARGB(0, 0), 0xFFFF0000u);
    EXPECT_EQ(shot->GetPixelARGB(19, 9), 0xFF0000FFu);

    // The screenshot image keeps its pixels: drawn again it shows the same.
    const auto image = fw::ScreenshotImage(*target.canvas);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetTexture()->Flags(), platform::TextureFlags::Dynamic);
    auto copy = testsupport::MakeTarget(20, 10);
    copy.canvas->DrawImage(*image, 0, 0);
    ExpectPixels(copy, {{0, 0, Red}, {19, 9, Blue}});

    const std::string dir = testsupport::TempDir();
    EXPECT_TRUE(fw::SaveImage(target.image, dir + "target.png"));
    const auto saved = platform::Pixmap::Load(dir + "target.png");
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->GetPixelARGB(4, 5), 0xFFFF0000u);
    EXPECT_EQ(saved->GetPixelARGB(5, 5), 0xFF0000FFu);

    // An image loaded from pixels saves its own rectangle.
    const auto sub = std::make_shared<platform::Image>(*image, Recti(3, 0, 8, 10));
    EXPECT_TRUE(fw::SaveImage(sub, dir + "sub.png"));
    const auto savedSub = platform::Pixmap::Load(dir + "sub.png");
    ASSERT_TRUE(savedSub);
    EXPECT_EQ(savedSub->Width(), 5);
    EXPECT_EQ(savedSub->GetPixelARGB(1, 0), 0xFFFF0000u);
    EXPECT_EQ(savedSub->GetPixelARGB(2, 0), 0xFF0000FFu);

    EXPECT_FALSE(fw::SaveImage(target.image, dir + "no/such/folder/x.png"));
    EXPECT_FALSE(fw::SaveImage(nullptr, dir + "null.png"));
    std::filesystem::remove_all(dir);
}
