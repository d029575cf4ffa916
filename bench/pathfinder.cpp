// Path finder: the wavefront search on open square grids, corner to corner,
// and on a serpentine maze whose one corridor visits every open cell.
#include <benchmark/benchmark.h>

#include "kestrum-framework/pathfinder.h"

namespace {

using kestrum::framework::Pathfinder;

void BM_OpenGrid(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const Pathfinder::Map map(static_cast<std::size_t>(size), std::vector<int>(static_cast<std::size_t>(size), 0));
    Pathfinder finder;
    for (auto _ : state) {
        finder.Setup(map, {0, 0}, {size - 1, size - 1});
        benchmark::DoNotOptimize(finder.FindPath());
    }
    state.counters["moves"] = finder.Length();
}
BENCHMARK(BM_OpenGrid)->Arg(16)->Arg(32)->Arg(64);

void BM_Serpentine(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    // Walls on every odd row, open at the right and left end alternately.
    Pathfinder::Map map(static_cast<std::size_t>(size), std::vector<int>(static_cast<std::size_t>(size), 0));
    for (int y = 1; y < size; y += 2) {
        const int gap = (y / 2) % 2 == 0 ? size - 1 : 0;
        for (int x = 0; x < size; ++x) {
            if (x != gap) map[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = 1;
        }
    }
    Pathfinder finder;
    for (auto _ : state) {
        finder.Setup(map, {0, 0}, {0, size - 1});
        benchmark::DoNotOptimize(finder.FindPath());
    }
    state.counters["moves"] = finder.Length();
}
BENCHMARK(BM_Serpentine)->Arg(16)->Arg(32);

}  // namespace
BENCHMARK_MAIN();
