// The task manager's pass over many tasks, and pooled objects handed out and back.
#include <benchmark/benchmark.h>

#include <memory>

#include "kestrum-framework/objectpool.h"
#include "kestrum-framework/taskmanager.h"

namespace fw = kestrum::framework;

namespace {

struct Counter : fw::Task {
    void OnUpdate() override { ++updates; }
    long updates = 0;
};

void BM_TaskPass(benchmark::State& state) {
    auto manager = std::make_shared<fw::TaskManager>();
    std::vector<std::shared_ptr<Counter>> tasks;
    for (int i = 0; i < state.range(0); ++i) {
        auto task = std::make_shared<Counter>();
        task->Enabled(i % 4 != 0);
        task->TaskManager(manager);
        tasks.push_back(task);
    }
    int stamp = 1;
    for (auto _ : state) manager->Update(stamp++);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TaskPass)->Arg(100)->Arg(1000)->Arg(10000);

void BM_PoolAcquireRelease(benchmark::State& state) {
    fw::ObjectPool<Counter> pool;
    for (int i = 0; i < 256; ++i) pool.Add(std::make_shared<Counter>());
    // Keep the pool three-quarters full, as the particle pool is in a busy scene.
    for (int i = 0; i < 192; ++i) pool.Acquire();
    int next = 0;
    for (auto _ : state) {
        pool.Release(next);
        benchmark::DoNotOptimize(pool.Acquire());
        next = (next + 1) % 256;
    }
}
BENCHMARK(BM_PoolAcquireRelease);

}  // namespace

BENCHMARK_MAIN();
