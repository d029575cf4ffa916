#include "kestrum-scenegraph/camera.h"

#include <gtest/gtest.h>

#include <numbers>

#include "platform/input.h"
#include "sgtest.h"
#include "support/testsupport.h"

namespace sg = kestrum::scenegraph;
using platform::Vec2f;
using sgtest::MakeProbe;

namespace {

struct Viewed {
    sgtest::FakeClock clock;
    platform::Window window;
    sg::Scene scene{&window};
    std::shared_ptr<sg::Camera> camera = sg::Camera::New(&scene);
    std::shared_ptr<sg::Layer> layer = sg::Layer::New(&scene);

    explicit Viewed(int width = 1136, int height = 640)
        : window((testsupport::App(), "camera test"), {0, 0, width, height}, platform::WindowFlags::Hidden) {}
};

void ExpectNear(Vec2f got, Vec2f want, float tolerance = 1e-3f) {
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
}

}  // namespace

TEST(CameraVirtualResolution, OneDimensionFixedTheOtherFollowsTheView) {
    Viewed v;
    v.camera->SetVirtualHeight(640);
    EXPECT_FLOAT_EQ(v.camera->VirtualScale, 1);
    EXPECT_EQ(v.camera->Scale, (Vec2f{1, 1}));
    EXPECT_EQ(v.camera->VirtualWidth(), 1136);
    EXPECT_EQ(v.camera->VirtualHeight(), 640);

    v.camera->SetVirtualWidth(568);
    EXPECT_EQ(v.camera->Scale, (Vec2f{2, 2}));
    EXPECT_EQ(v.camera->VirtualHeight(), 320);
    ExpectNear(v.camera->VirtualResolution(), {568, 320});

    // Sizes of 0 would divide by zero: nothing changes.
    v.camera->SetVirtualHeight(0);
    v.camera->SetVirtualWidth(-5);
    v.camera->SetVirtualResolution(0, 100);
    EXPECT_EQ(v.camera->Scale, (Vec2f{2, 2}));

    v.camera->SetVirtualHeight(640);
    v.camera->SetVirtualResolution(1024, 768);
    const float s = 640.0f / 768.0f;
    EXPECT_FLOAT_EQ(v.camera->Scale.x, s);
    EXPECT_NEAR(v.camera->CenterOffset.x, 1024 * s * 0.5f - 568, 1e-3);
    EXPECT_NEAR(v.camera->CenterOffset.x, -141.33f, 1e-2);
    EXPECT_FLOAT_EQ(v.camera->CenterOffset.y, 0);
    EXPECT_EQ(v.camera->VirtualWidth(), 1136);
}

TEST(CameraMapping, WindowPointsIntoLayerSpace) {
    struct Case {
        const char* name;
        float virtualHeight;
        Vec2f position;
        Vec2f parallax;
        Vec2f offset;
        float rotation;
        float zoom;
        Vec2f window;
        Vec2f layer;
    };
    constexpr float quarter = std::numbers::pi_v<float> / 2;
    const Case cases[] = {
        {"parallax and offset", 640, {200, 100}, {0.5f, 0.5f}, {10, 0}, 0, 1, {50, 50}, {140, 100}},
        {"virtual height 320 doubles", 320, {0, 0}, {1, 1}, {0, 0}, 0, 1, {100, 50}, {50, 25}},
        {"zoom 2 about the origin", 640, {0, 0}, {1, 1}, {0, 0}, 0, 2, {100, 50}, {50, 25}},
        {"a quarter turn about the origin", 640, {0, 0}, {1, 1}, {0, 0}, quarter, 1, {0, 100}, {100, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Viewed v;
        v.camera->SetVirtualHeight(c.virtualHeight);
        v.camera->Position = c.position;
        v.camera->Rotation = c.rotation;
        v.camera->Zoom = c.zoom;
        v.layer->Parallax = c.parallax;
        v.layer->Offset = c.offset;
        platform::Mouse().SetLocation({static_cast<int>(c.window.x), static_cast<int>(c.window.y)});
        ExpectNear(v.camera->GetMouseLocation(v.layer.get()), c.layer);
        ExpectNear(v.layer->GetMouseLocation(v.camera.get()), c.layer);

        // And back: an object at the layer point holds the window point.
        auto probe = MakeProbe(v.layer.get(), c.layer.x, c.layer.y);
        probe->Width(4);
        probe->Height(4);
        EXPECT_TRUE(probe->PointInside(v.camera.get(), c.window.x + 0.5f, c.window.y + 0.5f));
        EXPECT_FALSE(probe->PointInside(v.camera.get(), c.window.x + 30, c.window.y));
        EXPECT_TRUE(probe->MouseOver(v.camera.get()));
    }
    platform::Mouse().Reset();
}

TEST(CameraMapping, DegenerateCamerasMapNothing) {
    Viewed v;
    auto probe = MakeProbe(v.layer.get(), 0, 0);
    struct Case {
        float zoom;
        Vec2f scale;
    };
    for (const Case& c : {Case{0, {1, 1}}, Case{1, {0, 1}}, Case{1, {1, 0}}}) {
        v.camera->Zoom = c.zoom;
        v.camera->Scale = c.scale;
        EXPECT_EQ(v.camera->GetMouseLocation(v.layer.get()), (Vec2f{}));
        EXPECT_FALSE(probe->PointInside(v.camera.get(), 0, 0));
        v.scene.Update();  // culls an empty rectangle, no division
    }
    sg::Camera loose;
    EXPECT_EQ(loose.View(), nullptr);
    EXPECT_EQ(loose.VirtualHeight(), 0);
    EXPECT_EQ(loose.Viewport(), (platform::Recti{}));
    loose.SetVirtualHeight(640);
    EXPECT_FLOAT_EQ(loose.VirtualScale, 1);
}

TEST(CameraViewport, EdgesAreInsideAndAnEmptyViewportIsTheView) {
    Viewed v;
    EXPECT_EQ(v.camera->Viewport(), (platform::Recti{0, 0, 1136, 640}));
    v.camera->Viewport({100, 50, 500, 350});
    EXPECT_TRUE(v.camera->PointInside(100, 50));
    EXPECT_TRUE(v.camera->PointInside(500, 350));
    EXPECT_FALSE(v.camera->PointInside(501, 200));
    EXPECT_FALSE(v.camera->PointInside({200, 49}));

    auto top = sg::Camera::New(&v.scene);
    auto bottom = sg::Camera::New(&v.scene);
    sg::SplitScreenTopBottom(top.get(), bottom.get(), {1136, 640});
    EXPECT_EQ(top->Viewport(), (platform::Recti{0, 0, 1136, 319}));
    EXPECT_EQ(bottom->Viewport(), (platform::Recti{0, 321, 1136, 640}));
    sg::SplitScreenLeftRight(top.get(), bottom.get(), {1136, 640});
    EXPECT_EQ(top->Viewport(), (platform::Recti{0, 0, 567, 640}));
    EXPECT_EQ(bottom->Viewport(), (platform::Recti{569, 0, 1136, 640}));
}

TEST(CameraMapping, PointLookupFindsTheTopmostObjectUnderTheWindowPoint) {
    Viewed v;
    auto under = MakeProbe(v.layer.get(), 100, 100, "under");
    auto over = MakeProbe(v.layer.get(), 104, 100, "over");
    auto hidden = MakeProbe(v.layer.get(), 100, 100, "hidden");
    hidden->Visible = false;
    EXPECT_EQ(v.layer->GetLayerObject(v.camera.get(), {101, 100}), over);
    EXPECT_EQ(v.layer->GetLayerObject(v.camera.get(), {96, 100}), under);
    EXPECT_EQ(v.layer->GetLayerObject(v.camera.get(), 100, 100, true, false), hidden);
    EXPECT_EQ(v.layer->GetLayerObject(v.camera.get(), {300, 300}), nullptr);

    // A group member is tested at its world place.
    auto group = sg::LayerGroup::New(v.layer.get());
    group->Location({400, 300});
    group->Width(20);
    group->Height(20);
    auto member = std::make_shared<sgtest::Probe>("m", 4, 4);
    member->Group(group.get());
    member->Location({2, 2});
    EXPECT_TRUE(member->PointInside(v.camera.get(), 392, 292));
    EXPECT_FALSE(member->PointInside(v.camera.get(), 400, 300));
}

TEST(CameraMapping, MouseQueriesCombineTheButtonAndThePointer) {
    Viewed v;
    auto probe = MakeProbe(v.layer.get(), 100, 100);
    platform::Mouse().Reset();
    platform::Mouse().SetLocation({102, 98});
    platform::Mouse().SetButton(1, true);
    v.scene.Update();
    EXPECT_TRUE(probe->MouseHit(1));
    EXPECT_TRUE(probe->MouseHit(v.camera.get(), 1));
    EXPECT_TRUE(probe->MouseDown(v.camera.get(), 1));
    platform::Mouse().SetLocation({300, 300});
    EXPECT_TRUE(probe->MouseHit(1));
    EXPECT_FALSE(probe->MouseHit(v.camera.get(), 1));
    v.scene.Update();
    EXPECT_FALSE(probe->MouseHit(1));  // only in the update that saw the press
    platform::Mouse().SetLocation({100, 100});
    platform::Mouse().FrameDone();
    platform::Mouse().SetButton(1, false);
    v.scene.Update();
    EXPECT_TRUE(probe->MouseReleased(v.camera.get(), 1));
    EXPECT_FALSE(probe->MouseReleased(v.camera.get(), 3));
    platform::Mouse().Reset();
}

TEST(CameraViewport, LayersCentreAnAreaInTheView) {
    Viewed v(1137, 641);
    v.layer->Width = 100;
    v.layer->Height = 40;
    v.layer->Center();
    EXPECT_EQ(v.layer->Offset, (Vec2f{518, 300}));  // integer halves of the view
    EXPECT_EQ(v.layer->View(), &v.window);
    auto loose = sg::Layer::New();
    loose->Center();  // no view: nothing
    EXPECT_EQ(loose->Offset, (Vec2f{}));
}
