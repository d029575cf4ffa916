// End-to-end drawing under offscreen GL: scenes drawn through cameras into a
// render target, pixels read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "platform/font.h"
#include "platform/input.h"
#include "sgtest.h"
#include "support/testsupport.h"

namespace sg = kestrum::scenegraph;
using platform::Color;
using sgtest::Frames;
using sgtest::SolidImage;
using testsupport::Describe;
using testsupport::Near;

namespace {

const Color kBlack{0, 0, 0, 1};
const Color kRed{1, 0, 0, 1};
const Color kGreen{0, 1, 0, 1};
const Color kBlue{0, 0, 1, 1};
const Color kYellow{1, 1, 0, 1};

// A scene over a hidden window of width × height, drawn into a render
// target of the same size.
struct Stage {
    sgtest::FakeClock clock;
    platform::Window window;
    testsupport::Target target;
    sg::Scene scene{&window};
    std::shared_ptr<sg::Camera> camera = sg::Camera::New(&scene);

    Stage(int width, int height)
        : window((testsupport::App(), "render test"), {0, 0, width, height}, platform::WindowFlags::Hidden),
          target(testsupport::MakeTarget(width, height, kBlack)) {}

    void Frame() {
        scene.Update();
        scene.Draw(*target.canvas);
    }
    bool Is(int x, int y, Color color, int tolerance = 12) {
        const std::uint32_t pixel = target.Pixel(x, y);
        if (Near(pixel, color, tolerance)) return true;
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << Describe(pixel);
        return false;
    }
    // Whether some pixel of the rectangle is not black.
    bool LitIn(platform::Recti rect) {
        const auto pixmap = target.canvas->CopyPixmap(rect);
        for (int y = 0; y < pixmap->Height(); ++y) {
            for (int x = 0; x < pixmap->Width(); ++x) {
                if (!Near(pixmap->GetPixelARGB(x, y), kBlack, 40)) return true;
            }
        }
        return false;
    }
};

// A width × height image, its left half in one colour and its right half in
// another: which way it was turned shows in every drawing.
platform::ImagePtr HalvesImage(int width, int height, Color left, Color right) {
    auto pixmap = std::make_shared<platform::Pixmap>(width, height);
    pixmap->Clear(left);
    for (int y = 0; y < height; ++y) {
        for (int x = width / 2; x < width; ++x) pixmap->SetPixel(x, y, right);
    }
    return std::make_shared<platform::Image>(pixmap);
}

// The mean position of the pixels near the colour, or nothing when none is.
std::optional<platform::Vec2f> Centroid(testsupport::Target& target, int width, int height, Color color) {
    const auto pixmap = target.canvas->CopyPixmap({0, 0, width, height});
    double x = 0, y = 0;
    int count = 0;
    for (int py = 0; py < height; ++py) {
        for (int px = 0; px < width; ++px) {
            if (!Near(pixmap->GetPixelARGB(px, py), color, 40)) continue;
            x += px + 0.5;
            y += py + 0.5;
            ++count;
        }
    }
    if (count == 0) return std::nullopt;
    return platform::Vec2f{static_cast<float>(x / count), static_cast<float>(y / count)};
}

constexpr float kQuarter = std::numbers::pi_v<float> / 2;

}  // namespace

// A positive rotation turns clockwise on the screen: an object's +x side
// ends up below it after a quarter turn. These tests pin the direction of
// every rotating draw, which no mapping test can see.
TEST(SceneRotation, ASpriteTurnsClockwise) {
    Stage s(100, 100);
    auto layer = sg::Layer::New(&s.scene);
    auto sprite = sg::LayerSprite::New(layer.get(), HalvesImage(20, 10, kRed, kGreen));
    sprite->Location({50, 50});
    sprite->Rotation = kQuarter;
    s.Frame();
    s.Is(50, 45, kRed);    // the left half went up
    s.Is(50, 55, kGreen);  // the right half went down
    s.Is(43, 50, kBlack);  // 10 wide now
    s.Is(57, 50, kBlack);
}

TEST(SceneRotation, AGroupMemberIsDrawnAtItsWorldPointTurnedWithTheGroup) {
    Stage s(100, 100);
    auto layer = sg::Layer::New(&s.scene);
    auto group = sg::LayerGroup::New(layer.get());
    group->Location({50, 30});
    group->Rotation = kQuarter;
    auto member = sg::LayerSprite::New(group.get(), HalvesImage(12, 6, kRed, kGreen));
    member->Location({30, 0});  // to the right of the group's origin
    s.Frame();
    // A quarter turn clockwise takes it below the group's origin.
    EXPECT_NEAR(member->WorldX(), 50, 1e-3);
    EXPECT_NEAR(member->WorldY(), 60, 1e-3);
    EXPECT_NEAR(member->WorldRotation(), kQuarter, 1e-6);
    s.Is(50, 57, kRed);
    s.Is(50, 63, kGreen);
    s.Is(80, 30, kBlack);  // not where it would stand unturned
    s.Is(50, 0, kBlack);   // nor turned the other way
}

TEST(SceneRotation, ARotatedZoomedCameraDrawsWhatItsWindowPointsMapTo) {
    // Three coloured markers, drawn through a camera that turns about one
    // pivot, zooms about another and draws into a viewport; the mouse at
    // each marker's drawn centre must map back onto that marker.
    Stage s(200, 160);
    s.camera->Viewport({30, 20, 190, 150});
    s.camera->Position = {-40, -10};
    s.camera->RotationPivot = {70, 50};
    s.camera->Rotation = 0.6f;
    s.camera->ZoomPivot = {20, 30};
    s.camera->Zoom = 1.5f;
    auto layer = sg::Layer::New(&s.scene);
    struct Marker {
        platform::Vec2f at;
        Color color;
    };
    const Marker markers[] = {{{30, 20}, kRed}, {{60, 25}, kGreen}, {{20, 50}, kBlue}};
    for (const Marker& m : markers) sg::LayerSprite::New(layer.get(), SolidImage(6, 6, m.color))->Location(m.at);
    s.Frame();
    std::vector<platform::Vec2f> drawn;
    for (const Marker& m : markers) {
        const auto centre = Centroid(s.target, 200, 160, m.color);
        ASSERT_TRUE(centre) << "a marker outside the viewport";
        drawn.push_back(*centre);
        platform::Mouse().SetLocation({static_cast<int>(centre->x), static_cast<int>(centre->y)});
        const platform::Vec2f mapped = s.camera->GetMouseLocation(layer.get());
        EXPECT_NEAR(mapped.x, m.at.x, 1.5f);
        EXPECT_NEAR(mapped.y, m.at.y, 1.5f);
    }
    platform::Mouse().Reset();
    // The turn is clockwise: the layer's +x axis (red to green) points 0.6
    // radians below the window's.
    const float angle = std::atan2(drawn[1].y - drawn[0].y, drawn[1].x - drawn[0].x) - std::atan2(5.0f, 30.0f);
    EXPECT_NEAR(angle, 0.6f, 0.05f);
    // And zoomed: 1.5 times the layer distance.
    EXPECT_NEAR(std::hypot(drawn[1].x - drawn[0].x, drawn[1].y - drawn[0].y), 1.5f * std::hypot(30.0f, 5.0f), 1.5f);
}

TEST(SceneRotation, ALabelTurnsThenStretchesAlongItsOwnText) {
    // An "L" stretched 3 times along the text and turned a quarter clockwise:
    // a tall, narrow drawing whose foot, the long stroke along the text, runs
    // down its left side. Stretching after the turn would make it wide;
    // turning the other way puts the foot on the right.
    Stage s(160, 200);
    auto layer = sg::Layer::New(&s.scene);
    const auto font = platform::Font::Load(testsupport::AssetsDir() + "fonts/stencil.otf", 20);
    ASSERT_TRUE(font);
    auto label = sg::LayerLabel::New(layer.get(), font, "L");
    label->Location({80, 100});
    label->Color = kGreen;
    label->Scale = {3, 1};
    label->Rotation = kQuarter;
    s.Frame();
    const auto pixmap = s.target.canvas->CopyPixmap({0, 0, 160, 200});
    int left = 160, right = -1, top = 200, bottom = -1;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 160; ++x) {
            if (Near(pixmap->GetPixelARGB(x, y), kBlack, 60)) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    ASSERT_GE(right, left);
    const int width = right - left + 1, height = bottom - top + 1;
    EXPECT_GT(height, 2 * width) << width << " x " << height;
    EXPECT_NEAR((top + bottom) / 2.0f, 100, 6);
    int leftInk = 0, rightInk = 0;
    const float middle = (left + right) / 2.0f;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (!Near(pixmap->GetPixelARGB(x, y), kBlack, 60)) (x < middle ? leftInk : rightInk) += 1;
        }
    }
    EXPECT_GT(leftInk, 2 * rightInk) << "the foot runs down the left side";
}

TEST(SceneRendering, TwoLayersThroughAVirtualHeightCamera) {
    // A 568 × 320 window with a virtual height of 640: every layer unit is
    // half a pixel.
    Stage s(568, 320);
    s.camera->SetVirtualHeight(640);
    ASSERT_EQ(s.camera->VirtualWidth(), 1136);
    s.camera->X(100);

    auto background = sg::Layer::New(&s.scene);
    background->Parallax = {0, 0};  // fixed to the view
    auto game = sg::Layer::New(&s.scene);

    sg::LayerSprite::New(background.get(), SolidImage(40, 40, kRed))->Location({100, 100});
    sg::LayerSprite::New(game.get(), SolidImage(40, 40, kGreen))->Location({300, 200});

    auto group = sg::LayerGroup::New(game.get());
    group->Location({500, 400});
    group->Width(40);
    group->Height(40);
    group->Scale = {2, 2};
    auto member = sg::LayerSprite::New(group.get(), SolidImage(20, 20, kBlue));
    member->Handle = {0, 0};
    member->Location({10, 10});

    auto line = sg::LayerLine::New(game.get(), 100, 600, 700, 600);
    line->Image(SolidImage(8, 8, Color::White()));
    line->Color = kYellow;

    const auto font = platform::Font::Load(testsupport::AssetsDir() + "fonts/stencil.otf", 64);
    ASSERT_TRUE(font);
    auto label = sg::LayerLabel::New(game.get(), font, "W");
    label->Location({1000, 200});
    label->Color = kGreen;

    s.Frame();
    // Background: layer (100, 100) is window (50, 50) whatever the camera.
    s.Is(50, 50, kRed);
    s.Is(41, 41, kRed);
    s.Is(62, 50, kBlack);
    // Game layer: (300, 200) minus the camera's 100 is virtual (200, 200).
    s.Is(100, 100, kGreen);
    s.Is(88, 100, kBlack);
    // Group scaled by 2: the member covers layer 480..520, virtual 380..420.
    s.Is(200, 200, kBlue);
    s.Is(192, 192, kBlue);
    s.Is(187, 200, kBlack);
    s.Is(213, 200, kBlack);
    // The strip line along layer y 600 from virtual x 0 to 600, tinted.
    s.Is(150, 300, kYellow);
    s.Is(310, 300, kBlack);
    // The label around virtual (900, 200): window (450, 100).
    EXPECT_TRUE(s.LitIn({430, 80, 470, 120}));
    EXPECT_FALSE(s.LitIn({300, 20, 340, 60}));

    // Moving the camera moves the game layer but not the background.
    s.camera->X(0);
    s.target.canvas->Clear(kBlack);
    s.Frame();
    s.Is(50, 50, kRed);
    s.Is(150, 100, kGreen);
}

TEST(SceneRendering, NothingBeforeTheFirstUpdateAndCanvasStateRestored) {
    Stage s(64, 64);
    auto layer = sg::Layer::New(&s.scene);
    sg::LayerSprite::New(layer.get(), SolidImage(64, 64, kRed))->Location({32, 32});
    platform::Canvas& canvas = *s.target.canvas;
    canvas.Translate(3, 4);
    const platform::AffineMat3f matrix = canvas.Matrix();
    canvas.Color({0.5f, 0.5f, 0.5f, 1});
    canvas.BlendMode(platform::BlendMode::Additive);

    s.scene.Draw(canvas);
    s.Is(10, 10, kBlack);
    EXPECT_EQ(canvas.Matrix(), matrix);

    canvas.Matrix({});
    s.scene.Update();
    s.scene.Draw(canvas);
    s.Is(10, 10, kRed);
    EXPECT_EQ(canvas.BlendMode(), platform::BlendMode::Additive);
    EXPECT_EQ(canvas.Color(), (Color{0.5f, 0.5f, 0.5f, 1}));
    EXPECT_EQ(canvas.Matrix(), platform::AffineMat3f{});
}

TEST(SceneRendering, ViewportClearAndVisibility) {
    Stage s(200, 100);
    auto layer = sg::Layer::New(&s.scene);
    auto sprite = sg::LayerSprite::New(layer.get(), SolidImage(400, 400, kGreen));
    sprite->Location({100, 50});
    auto hidden = sg::Layer::New(&s.scene);
    hidden->Visible = false;
    sg::LayerSprite::New(hidden.get(), SolidImage(400, 400, kRed))->Location({100, 50});
    auto light = sg::LayerSprite::New(layer.get(), SolidImage(10, 10, kRed));
    light->Location({150, 20});
    light->DrawMode = 2;  // a light, but the layer is not lit: nothing

    s.camera->Viewport({20, 10, 120, 60});
    s.camera->ClearColor = kBlue;
    s.Frame();
    s.Is(21, 11, kGreen);
    s.Is(150, 80, kBlack);  // outside the viewport
    EXPECT_EQ(s.target.canvas->Viewport(), (platform::Recti{0, 0, 200, 100}));

    // Only a cleared, empty view: the sprite is gone, the clear colour stays.
    s.camera->Viewport({});
    sprite->Visible = false;
    s.Frame();
    s.Is(150, 20, kBlue);
    s.Is(10, 90, kBlue);

    s.camera->ClearColor = {};
    s.camera->Visible = false;
    s.target.canvas->Clear(kBlack);
    sprite->Visible = true;
    s.Frame();
    s.Is(100, 50, kBlack);
}

TEST(SceneRendering, LitLayersDrawSpritesAsDiffuseAndLights) {
    Stage s(100, 100);
    auto layer = sg::Layer::New(&s.scene);
    layer->AmbientLight = {0.25f, 0.25f, 0.25f, 1};
    sg::LayerSprite::New(layer.get(), SolidImage(100, 100, Color::White()))->Location({50, 50});
    const auto glow = SolidImage(20, 20, Color::White());
    glow->Handle({0, 0});
    auto light = sg::LayerSprite::New(layer.get(), glow);
    light->DrawMode = 2;
    light->Location({70, 70});
    light->Scale = {1.5f, 1.5f};
    s.Frame();
    s.Is(20, 20, {0.25f, 0.25f, 0.25f, 1});
    s.Is(70, 70, Color::White());
    s.Is(83, 83, Color::White());  // scaled by 1.5 about its centre
    s.Is(86, 86, {0.25f, 0.25f, 0.25f, 1});
    // The borrowed image is given back as it was.
    EXPECT_EQ(glow->Handle(), (platform::Vec2f{0, 0}));
    EXPECT_EQ(glow->Scale(), (platform::Vec2f{1, 1}));
}

TEST(SceneRendering, DebugOverlaysFollowTheirSwitches) {
    Stage s(80, 80);
    sgtest::Probe loose("loose", 20, 20);
    loose.Location({30, 30});
    loose.Flags = 2;
    loose.Properties = std::make_shared<kestrum::framework::Config>();
    loose.Draw(*s.target.canvas);
    s.Is(21, 30, kGreen);  // palette colour 2, thickness 3 inside the box
    s.Is(30, 21, kGreen);
    s.Is(30, 30, kBlack);

    auto layer = sg::Layer::New(&s.scene);
    auto filed = sgtest::MakeProbe(layer.get(), 60, 60);
    filed->Flags = 1;
    filed->Draw(*s.target.canvas);  // the layer's switch is off
    s.Is(56, 60, kBlack);
    layer->DrawFlags = true;
    filed->Draw(*s.target.canvas);  // the scene's switch is still off
    s.Is(56, 60, kBlack);
    s.scene.DrawFlags = true;
    filed->Draw(*s.target.canvas);
    s.Is(56, 60, kRed);

    sgtest::Probe selected("selected", 10, 10);
    selected.Location({10, 70});
    selected.Selected = true;
    selected.Draw(*s.target.canvas);
    s.Is(10, 70, {0, 0, 0.25f, 1});
}

TEST(SceneRendering, ASorterReordersTheDrawList) {
    struct Reverse : sg::ISorter {
        int calls = 0;
        void Sort(sg::ObjectList& list) override {
            ++calls;
            std::reverse(list.begin(), list.end());
        }
    };
    Stage s(40, 40);
    auto layer = sg::Layer::New(&s.scene);
    sg::LayerSprite::New(layer.get(), SolidImage(40, 40, kRed))->Location({20, 20});
    sg::LayerSprite::New(layer.get(), SolidImage(40, 40, kGreen))->Location({20, 20});
    s.Frame();
    s.Is(20, 20, kGreen);  // filed last, drawn on top
    auto sorter = std::make_shared<Reverse>();
    layer->Sorter = sorter;
    s.Frame();
    s.Is(20, 20, kRed);
    EXPECT_EQ(sorter->calls, 1);
}
