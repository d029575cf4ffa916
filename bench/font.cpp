// Text fitting: FitText measures the whole current line again for every word,
// so its cost grows with the square of the words per line. It runs once per
// text (a tutorial hint, the credits introduction), never per frame.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "kestrum-framework/font.h"
#include "platform/font.h"

namespace fw = kestrum::framework;

namespace {

std::shared_ptr<platform::Font> PlaceholderFont() {
    const char* assets = std::getenv("ZANDROVIA_ASSETS");
    const std::string dir = assets ? std::string(assets) + "/" : std::string("assets/");
    return platform::Font::Load(dir + "kestrum-framework/fonts/arial.ttf", 16);
}

// A paragraph of the given number of words with a forced break every 40 words.
std::string Paragraph(int words) {
    std::string text;
    for (int i = 0; i < words; ++i) {
        if (i > 0) text += (i % 40 == 0) ? "\n" : " ";
        text += (i % 3 == 0) ? "squadron" : (i % 3 == 1) ? "of" : "ships";
    }
    return text;
}

void BM_FitText(benchmark::State& state) {
    const auto font = PlaceholderFont();
    if (!font) {
        state.SkipWithError("placeholder font not found (set ZANDROVIA_ASSETS)");
        return;
    }
    const std::string text = Paragraph(static_cast<int>(state.range(0)));
    const int width = static_cast<int>(state.range(1));
    for (auto _ : state) benchmark::DoNotOptimize(fw::FitText(font, text, width, "\n"));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
// A tutorial hint (width 180) and the credits introduction (a wide box).
BENCHMARK(BM_FitText)->Args({30, 180})->Args({200, 180})->Args({200, 700});

}  // namespace

BENCHMARK_MAIN();
