// Config reads: keys read in file order (the cheap case the cursor is made
// for) against keys read in random order, over a block of typical size.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "kestrum-framework/config.h"
#include "platform/text.h"

namespace fw = kestrum::framework;

namespace {

fw::Config Block(int lines, std::vector<std::string>* keys) {
    std::string text;
    for (int i = 0; i < lines; ++i) {
        const std::string key = "key" + platform::FromInt(i);
        keys->push_back(key);
        text += key + " = " + platform::FromInt(i) + "\n";
    }
    fw::Config config;
    config.Parse(text);
    return config;
}

void BM_ConfigReadInOrder(benchmark::State& state) {
    std::vector<std::string> keys;
    fw::Config config = Block(static_cast<int>(state.range(0)), &keys);
    for (auto _ : state) {
        for (const auto& key : keys) benchmark::DoNotOptimize(config.ReadInt(key, 0));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ConfigReadInOrder)->Arg(20)->Arg(200);

void BM_ConfigReadReversed(benchmark::State& state) {
    std::vector<std::string> keys;
    fw::Config config = Block(static_cast<int>(state.range(0)), &keys);
    for (auto _ : state) {
        for (auto it = keys.rbegin(); it != keys.rend(); ++it) benchmark::DoNotOptimize(config.ReadInt(*it, 0));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ConfigReadReversed)->Arg(20)->Arg(200);

}  // namespace

BENCHMARK_MAIN();
