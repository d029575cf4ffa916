// The play screen's frame in the wave levels at their fullest: each level is
// built, the clock is moved past its last scheduled start so that every
// tank, attacker wave and boss is in play at once, and the frames that
// follow are timed as in the frame benchmark (the CPU time of the Game
// screen's update and render submission, and the draw calls per frame).
// The ships are kept from dying so that play goes on. A short run of every
// level finds the busiest one (the most enemies in play), which is then
// measured over 1,000 frames.
//
// Goals: under 1 ms per frame (update + render submission) and under 30
// draw calls.
//
// With ZANDROVIA_SCREENSHOTS set to a folder, the busiest level is also
// built afresh and shot after 30, 90 and 150 frames (level<n>-<frame>.png);
// the random numbers start over with every build, so two builds of the
// program can be compared picture by picture.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "platform/app.h"
#include "platform/canvas.h"
#include "platform/files.h"
#include "support/benchsupport.h"
#include "zandrovia/constants.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/levels.h"
#include "zandrovia/objectkind.h"
#include "zandrovia/zandrovia.h"

namespace {

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Frames {
    std::vector<double> cpu;
    std::vector<double> update;
    std::vector<int> drawCalls;
    int enemies = 0;
    int ships = 0;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double Worst(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

// Level n with everything it schedules in play.
void BuildFullLevel(gamedriver::GameDriver& game, int level) {
    game.Reset();
    levelIndex = level;
    Levels[static_cast<std::size_t>(level)]();
    game.Skip(75000);
    game.Frame();
}

// The ships cannot be worn down (a crusher, a rocket or the beam still
// takes one). Not part of the measured time.
void KeepShipsAlive() {
    ForEachObject(GameLayer.get(), [](const kestrum::scenegraph::LayerObjectPtr& object) {
        if (KindOf(object.get()) == ObjectKind::Player && object->ScoreSystem) object->ScoreSystem->Energy = 1000;
    });
}

// One frame as the screen manager runs it; the update and the render
// submission are timed.
void TimedFrame(gamedriver::GameDriver& game, Frames& frames) {
    KeepShipsAlive();
    game.Tick();
    platform::Canvas& canvas = AppWindow->GetCanvas();
    canvas.ResetDrawCalls();
    canvas.ClearMatrix();
    canvas.Viewport(AppWindow->Frame());
    canvas.Scissor({});
    canvas.Clear(AppWindow->ClearColor());
    const double start = ThreadCpuMs();
    GameScreen->OnUpdate();
    const double updated = ThreadCpuMs();
    GameScreen->OnRender(canvas);
    frames.cpu.push_back(ThreadCpuMs() - start);
    frames.update.push_back(updated - start);
    canvas.Flush();
    frames.drawCalls.push_back(canvas.DrawCalls());
}

Frames Measure(gamedriver::GameDriver& game, int level, int count) {
    BuildFullLevel(game, level);
    Frames warmUp;
    for (int i = 0; i < 30; ++i) TimedFrame(game, warmUp);
    Frames frames;
    frames.enemies = CountAttackers(GameLayer.get());
    for (int i = 0; i < count && gameState == STATE_PLAY; ++i) TimedFrame(game, frames);
    frames.ships = ShipsAlive;
    return frames;
}

void MeasureLevels() {
    gamedriver::GameDriver game;
    // The busiest level has the most enemies in play (the frame times of
    // a short run are too close to tell levels 13 and 14 apart).
    int busiest = 1;
    int most = 0;
    for (int level = 1; level < LevelCount; ++level) {
        const Frames frames = Measure(game, level, 120);
        std::printf("level %2d: %3d enemies in play, median %.3f ms, %d draw calls\n", level, frames.enemies,
                    Median(frames.cpu), frames.drawCalls.empty() ? 0 : frames.drawCalls.back());
        if (frames.enemies > most) {
            most = frames.enemies;
            busiest = level;
        }
    }
    const Frames frames = Measure(game, busiest, 1000);
    const auto [fewestCalls, mostCalls] = std::minmax_element(frames.drawCalls.begin(), frames.drawCalls.end());
    std::printf("busiest level: %d, %d enemies in play at the start, %d ships left after %zu frames\n", busiest,
                frames.enemies, frames.ships, frames.cpu.size());
    std::printf("update + render submission per frame, CPU time of the main thread: median %.3f ms, worst %.3f ms\n",
                Median(frames.cpu), Worst(frames.cpu));
    std::printf("  of which the update: median %.3f ms, worst %.3f ms\n", Median(frames.update), Worst(frames.update));
    std::printf("draw calls per frame: %d to %d\n", *fewestCalls, *mostCalls);
    std::vector<double> calls(frames.drawCalls.begin(), frames.drawCalls.end());
    std::printf("  median %.0f\n", Median(calls));
    std::fflush(stdout);

    const char* folder = std::getenv("ZANDROVIA_SCREENSHOTS");
    if (!folder || !*folder) return;
    BuildFullLevel(game, busiest);
    for (int frame = 1; frame <= 150; ++frame) {
        KeepShipsAlive();
        game.Frame();
        if (frame % 60 != 30) continue;
        const std::string path = std::string(folder) + "/level" + std::to_string(busiest) + "-" +
                                 std::to_string(frame) + ".png";
        std::printf("screenshot: %s%s\n", path.c_str(), game.Screenshot(path) ? "" : " (not written)");
    }
    std::fflush(stdout);
}

// The busiest level's frame (level 14: every wave of level 13 with more
// tanks and launchers) under Google Benchmark's timing.
void FullLevelFrame(benchmark::State& state) {
    gamedriver::GameDriver game;
    BuildFullLevel(game, static_cast<int>(state.range(0)));
    Frames frames;
    for (auto _ : state) TimedFrame(game, frames);
    state.counters["cpu_ms"] = Median(frames.cpu);
    state.counters["draw_calls"] = frames.drawCalls.empty() ? 0 : frames.drawCalls.back();
}
BENCHMARK(FullLevelFrame)->Arg(14)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchsupport::SetUpHeadless();
    MeasureLevels();
    return benchsupport::RunBenchmarks(argc, argv);
}
