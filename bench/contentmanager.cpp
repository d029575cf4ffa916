// Content cache lookups: a hit is a linear scan with one path comparison per
// recorded entry (plus the shader look-up by name for a null shader), so its
// cost grows with the number of images recorded before the one asked for.
#include <benchmark/benchmark.h>

#include <string>

#include "kestrum-framework/contentmanager.h"
#include "platform/image.h"

namespace fw = kestrum::framework;

namespace {

// A cache of n registered images with paths like the game's sprite paths.
void Fill(fw::ContentManager& content, int n) {
    auto pixmap = std::make_shared<platform::Pixmap>(1, 1);
    for (int i = 0; i < n; ++i) {
        auto image = std::make_shared<platform::Image>(pixmap, 12, platform::Shader::GetShader("sprite"));
        content.AddImage(image, "sprites/enemies/attacker_" + std::to_string(i) + ".png");
    }
}

// The last image recorded: the worst case of the scan.
void BM_ContentGetImageHit(benchmark::State& state) {
    fw::ContentManager content;
    const int n = static_cast<int>(state.range(0));
    Fill(content, n);
    const std::string path = "sprites/enemies/attacker_" + std::to_string(n - 1) + ".png";
    for (auto _ : state) benchmark::DoNotOptimize(content.GetImage(path, nullptr, 12));
}
BENCHMARK(BM_ContentGetImageHit)->Arg(16)->Arg(64)->Arg(300);

// A remembered miss costs the same scan and never touches the disk.
void BM_ContentGetImageRememberedMiss(benchmark::State& state) {
    fw::ContentManager content;
    Fill(content, static_cast<int>(state.range(0)));
    content.GetImage("sprites/missing.png", nullptr, 12);
    for (auto _ : state) benchmark::DoNotOptimize(content.GetImage("sprites/missing.png", nullptr, 12));
}
BENCHMARK(BM_ContentGetImageRememberedMiss)->Arg(64)->Arg(300);

}  // namespace

BENCHMARK_MAIN();
