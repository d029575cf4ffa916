// Atlas pages of the game's animations: laying the fleet's pages out from
// the frames' file headers (the work the loader adds to the first step of
// the fleet), filling every slot from the files, and uploading a page of
// the fleet's size with its mipmap levels (the work of the step that
// completes the fleet). Prints the fleet's page sizes first.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/app.h"
#include "platform/files.h"
#include "platform/image.h"
#include "support/benchsupport.h"
#include "zandrovia/spriteatlas.h"

namespace {

platform::AppInstance& App() {
    static auto* app = new platform::AppInstance();
    return *app;
}

// The loader's fleet: every animation but the two bosses', the first ten with a flash set.
std::vector<SpriteAtlas::Animation> Fleet() {
    const struct {
        const char* path;
        int count;
        bool flash;
    } fleet[] = {
        {"cargo/frame.png", 20, true},          {"hunter/frame.png", 21, true},
        {"player/frame.png", 16, true},         {"launcher/frame.png", 18, true},
        {"rocket/frame.png", 16, true},         {"sawcer/frame.png", 25, true},
        {"tank/top/frame.png", 36, true},       {"tank/wheels/frame.png", 24, true},
        {"crusher/frame.png", 50, false},       {"man/frame.png", 32, false},
        {"pickups/laser/frame.png", 20, false}, {"pickups/nuke/frame.png", 20, false},
        {"pickups/shield/frame.png", 20, false}, {"pickups/powerup/frame.png", 20, false},
        {"pickups/tracker/frame.png", 20, false},
    };
    std::vector<SpriteAtlas::Animation> animations;
    for (const auto& a : fleet) animations.push_back({std::string("asset::sprites/") + a.path, a.count, a.flash});
    return animations;
}

void FillFleet(SpriteAtlas& atlas, const std::vector<SpriteAtlas::Animation>& animations) {
    for (std::size_t i = 0; i < animations.size(); ++i) {
        const auto frames = atlas.Frames(i, {0, 0, 0, 0});
        if (animations[i].Flash) benchmark::DoNotOptimize(atlas.Flash(i, frames, {1, 1, 1, 1}));
    }
}

void PrintFleetPages() {
    App();
    SpriteAtlas atlas(Fleet());
    long pixels = 0;
    for (const auto& page : atlas.Pages()) {
        std::printf("fleet page: %d x %d\n", page->Width(), page->Height());
        pixels += static_cast<long>(page->Width()) * page->Height();
    }
    std::printf("fleet pages: %zu, %.1f MB of pixels (GL texture size limit %d)\n", atlas.Pages().size(),
                static_cast<double>(pixels) * 4 / (1024 * 1024), platform::Texture::MaxSize());
    std::fflush(stdout);
}

void FleetLayout(benchmark::State& state) {
    const auto animations = Fleet();
    for (auto _ : state) {
        SpriteAtlas atlas(animations);
        benchmark::DoNotOptimize(atlas.Pages().data());
    }
}
BENCHMARK(FleetLayout)->Unit(benchmark::kMillisecond);

void FleetFill(benchmark::State& state) {
    const auto animations = Fleet();
    for (auto _ : state) {
        SpriteAtlas atlas(animations);
        FillFleet(atlas, animations);
    }
}
BENCHMARK(FleetFill)->Unit(benchmark::kMillisecond);

// The fleet's filled page uploaded afresh each time (the texture is
// discarded between uploads); the argument caps the mipmap levels (-1: all).
void FleetUpload(benchmark::State& state) {
    App();
    const auto animations = Fleet();
    SpriteAtlas atlas(animations);
    FillFleet(atlas, animations);
    const auto& texture = atlas.Pages().front()->GetTexture();
    texture->MaxMipLevel(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        texture->Discard();
        benchmark::DoNotOptimize(texture->GlTexture());
    }
}
BENCHMARK(FleetUpload)->Arg(3)->Arg(0)->Arg(-1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchsupport::SetUpHeadless();
    PrintFleetPages();
    return benchsupport::RunBenchmarks(argc, argv);
}
