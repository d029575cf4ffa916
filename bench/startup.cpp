// Start-up: the time from the program's start to its first frame, the time
// of every loader frame (one load step each) and the memory on the way and
// after loading everything; then the cost of the heaviest single loads,
// repeated.
//
// Goals: first frame under 300 ms; no load step over 16 ms (one frame at
// 60 Hz); peak resident memory under 120 MB.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "platform/app.h"
#include "platform/files.h"
#include "support/benchsupport.h"
#include "zandrovia/globals.h"
#include "zandrovia/loader.h"
#include "zandrovia/localization.h"
#include "zandrovia/zandrovia.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

// A "VmRSS"-style line of /proc/self/status in MB (0 when unknown).
double StatusMb(const std::string& key) {
    const std::string status = platform::LoadString("/proc/self/status");
    const std::size_t at = status.find(key + ":");
    if (at == std::string::npos) return 0;
    return std::atof(status.c_str() + at + key.size() + 1) / 1024.0;
}

// Runs the real start-up once and the loader to its end, printing the figures.
void MeasureStartUp() {
    const Clock::time_point start = Clock::now();
    InitGameModule();
    const double modules = Ms(Clock::now() - start);
    // The application object (SDL and the GL context; the audio device opens
    // in the pass after the first frame) on its own.
    const auto ownApp = std::make_unique<platform::AppInstance>();
    const double application = Ms(Clock::now() - start);
    const double applicationMb = StatusMb("VmRSS");
    StartGame();
    const double window = Ms(Clock::now() - start);
    platform::AppInstance& app = *platform::AppInstance::Instance();
    app.RequestRender();
    app.Step();
    const double firstFrame = Ms(Clock::now() - start);
    const double firstFrameMb = StatusMb("VmRSS");
    std::printf("start-up: modules %.1f ms, application object %.1f ms, preferences, language, texts and window "
                "%.1f ms, first frame %.1f ms\n",
                modules, application - modules, window - application, firstFrame - window);

    // The loader's frames are timed by their own work, not held to 60 a second.
    app.FramePacing(false);
    Loader* loader = AppWindow->LoaderScreen();
    double slowest = 0;
    int slowestStep = 0;
    double total = 0;
    // The main thread's CPU time beside the wall time: on a busy machine
    // the wall time of a frame also counts the time other programs ran.
    double slowestCpu = 0;
    int slowestCpuStep = 0;
    double totalCpu = 0;
    while (AppWindow->CurrentScreen() == loader) {
        const int before = loader->Loaded;
        const Clock::time_point frameStart = Clock::now();
        const double cpuStart = ThreadCpuMs();
        app.RequestRender();
        app.Step();
        const double frame = Ms(Clock::now() - frameStart);
        const double cpu = ThreadCpuMs() - cpuStart;
        total += frame;
        totalCpu += cpu;
        if ((frame > 16 || cpu > 16) && loader->Loaded > before) {
            std::printf("  step %d: %.1f ms (CPU %.1f ms)\n", loader->Loaded, frame, cpu);
        }
        if ((frame > 16 || cpu > 16) && loader->Loaded == before) {
            std::printf("  a frame with no step (the audio device opens in the first): %.1f ms (CPU %.1f ms)\n",
                        frame, cpu);
        }
        if (loader->Loaded > before && frame > slowest) {
            slowest = frame;
            slowestStep = loader->Loaded;
        }
        if (loader->Loaded > before && cpu > slowestCpu) {
            slowestCpu = cpu;
            slowestCpuStep = loader->Loaded;
        }
    }
    // A few frames of the Game screen; the first draws the first sprites
    // (their textures are uploaded on first use).
    double firstGameFrame = 0;
    double firstGameFrameCpu = 0;
    for (int k = 0; k < 10; ++k) {
        const Clock::time_point frameStart = Clock::now();
        const double cpuStart = ThreadCpuMs();
        app.RequestRender();
        app.Step();
        if (k == 0) {
            firstGameFrame = Ms(Clock::now() - frameStart);
            firstGameFrameCpu = ThreadCpuMs() - cpuStart;
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("start-up to first frame: %.1f ms\n", firstFrame);
    std::printf("loader frames until Game: %.1f ms in all; slowest step %d of %d: %.1f ms\n", total, slowestStep,
                loader->Steps, slowest);
    std::printf("  CPU time: %.1f ms in all; slowest step %d: %.1f ms\n", totalCpu, slowestCpuStep, slowestCpu);
    std::printf("first Game frame: %.1f ms (CPU %.1f ms)\n", firstGameFrame, firstGameFrameCpu);
    std::printf("resident memory: %.1f MB after the application object, %.1f MB after the first frame, "
                "%.1f MB after loading and ten Game frames\n",
                applicationMb, firstFrameMb, StatusMb("VmRSS"));
    std::printf("peak resident memory after loading: %.1f MB (now %.1f MB of the program's own memory, %.1f MB of "
                "mapped files: the libraries, the GL driver's above all)\n",
                static_cast<double>(usage.ru_maxrss) / 1024.0, StatusMb("RssAnon"), StatusMb("RssFile"));
    std::fflush(stdout);
}

void SpiderAnimation(benchmark::State& state) {
    const platform::Color tint = state.range(0) ? platform::Color{1, 1, 1, 1} : platform::Color{0, 0, 0, 0};
    for (auto _ : state) benchmark::DoNotOptimize(LoadAnimation("asset::sprites/spider/frame.png", 66, tint));
}
BENCHMARK(SpiderAnimation)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// MusicTrack/0 decodes the track whole; MusicTrack/1 opens it for streaming, as the loader does.
void MusicTrack(benchmark::State& state) {
    const auto mode = state.range(0) ? platform::Sound::Streamed : platform::Sound::Whole;
    for (auto _ : state) benchmark::DoNotOptimize(platform::Sound::Load("asset::music/technosonavista.ogg", mode));
}
BENCHMARK(MusicTrack)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The loader's heaviest sound steps: the longest effect and voice, decoded whole.
void SoundEffect(benchmark::State& state) {
    const char* path = state.range(0) ? "asset::sfx/voices/gratz.ogg" : "asset::sfx/explosion2.wav";
    for (auto _ : state) benchmark::DoNotOptimize(platform::Sound::Load(path));
    state.SetLabel(path);
}
BENCHMARK(SoundEffect)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void LocalizeKey(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(morvane::locale::Localize("tut_takecare"));
}
BENCHMARK(LocalizeKey);

}  // namespace

int main(int argc, char** argv) {
    benchsupport::SetUpHeadless();
    MeasureStartUp();
    return benchsupport::RunBenchmarks(argc, argv);
}
