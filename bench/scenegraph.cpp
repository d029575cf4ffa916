// The scene graph's frame: update and draw of a scene through one camera
// with a virtual height of 640 into a 1136 × 640 render target.
//
//   SceneInView           1,000 sprites, all in view
//   SceneInViewPlusFar    the same 1,000 plus 100,000 outside the view,
//                         spread over many cells: culling should keep the
//                         cost close to the first
//   Collisions            one collision pass of 30 readers against 300 writers
//
// Run: SDL_VIDEODRIVER=offscreen ./bench-scenegraph
#include <benchmark/benchmark.h>

#include <memory>

#include "kestrum-scenegraph/scenegraph.h"
#include "platform/app.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "platform/gl.h"

namespace sg = kestrum::scenegraph;

namespace {

constexpr int width = 1136;
constexpr int height = 640;

platform::AppInstance& App() {
    static auto* app = new platform::AppInstance();
    return *app;
}

platform::ImagePtr SpriteImage() {
    auto pixmap = std::make_shared<platform::Pixmap>(32, 32);
    pixmap->Clear({1, 0.5f, 0.25f, 0.75f});
    return std::make_shared<platform::Image>(pixmap, platform::TextureFlags::Filter);
}

// A sprite that moves a little every update, as the game's actors do.
class Drifter : public sg::LayerSprite {
public:
    float dx = 0.5f;
    void OnUpdate() override {
        if (X() < 0 || X() > width) dx = -dx;
        X(X() + dx);
    }
};

void SceneFrame(benchmark::State& state) {
    App();
    sg::InitScenegraphModule();
    const int far = static_cast<int>(state.range(0));
    platform::Window window("bench", {0, 0, width, height}, platform::WindowFlags::Hidden);
    sg::Scene scene(&window);
    auto camera = sg::Camera::New(&scene);
    camera->SetVirtualHeight(640);
    auto layer = sg::Layer::New(&scene);
    layer->TileSize({camera->VirtualWidth(), camera->VirtualWidth()});
    const auto image = SpriteImage();
    const auto frames = std::make_shared<std::vector<platform::ImagePtr>>(1, image);
    platform::ResetRnd();
    auto place = [&](float x, float y) {
        auto sprite = std::make_shared<Drifter>();
        sprite->Layer(layer.get());
        sprite->Images(frames);
        sprite->Location({x, y});
        sprite->TaskManager(layer->TaskManager);
    };
    for (int i = 0; i < 1000; ++i) {
        place(static_cast<float>(platform::Rnd(16, width - 16)), static_cast<float>(platform::Rnd(16, height - 16)));
    }
    // Far away: beyond the culling margin, over a wide area of cells.
    for (int i = 0; i < far; ++i) {
        place(static_cast<float>(platform::Rnd(8000, 400000)), static_cast<float>(platform::Rnd(8000, 400000)));
    }
    auto target = std::make_shared<platform::Image>(width, height, 0);
    platform::Canvas canvas(target);
    for (auto _ : state) {
        canvas.Clear(platform::Color::Black());
        scene.Update();
        scene.Draw(canvas);
        canvas.Flush();
        platform::gl::Finish();
    }
    state.counters["objects"] = layer->CountLayerObjects();
    state.counters["cells"] = layer->HorizontalTiles() * layer->VerticalTiles();
}

// A reader that tests every writer with the default box test.
class Ship : public sg::LayerObject {
public:
    int hits = 0;
    void OnCollision(const std::shared_ptr<sg::LayerObject>&) override { ++hits; }
};

void Collisions(benchmark::State& state) {
    sg::InitScenegraphModule();
    sg::Scene scene(nullptr);
    scene.CollisionMonitor = std::make_shared<sg::CollisionMonitor>();
    auto layer = sg::Layer::New(&scene);
    platform::ResetRnd();
    auto place = [&](bool reader) {
        auto object = std::make_shared<Ship>();
        object->Layer(layer.get());
        object->Width(24);
        object->Height(24);
        object->Location({static_cast<float>(platform::Rnd(0, width)), static_cast<float>(platform::Rnd(0, height))});
        if (reader) {
            object->CollisionRead(true);
        } else {
            object->CollisionWrite(true);
        }
    };
    for (int i = 0; i < 30; ++i) place(true);
    for (int i = 0; i < 300; ++i) place(false);
    for (auto _ : state) scene.CollisionMonitor->Update();
    state.counters["pairs"] = 30 * 300;
}

}  // namespace

BENCHMARK(SceneFrame)->Name("SceneInView")->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(SceneFrame)->Name("SceneInViewPlusFar")->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(Collisions)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
