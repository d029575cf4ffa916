// End-to-end drawing under offscreen GL: scenes drawn through cameras into a
// render target, pixels read back.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/font.h"
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

}  // namespace

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
