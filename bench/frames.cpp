// The frame rate and CPU use of the idle Game screen: the real start-up, the
// loader run to its end, then the main loop as the program runs it for a
// while (10 s unless a number of seconds is given), counting frames and the
// process's CPU time (every thread, the GL driver's included).
//
// Goal: 60 ± 1 frames per second and under 15% of one core, whatever the
// display's swap does. With "unpaced" after the seconds the loop runs without
// its frame limiter, which shows what one frame costs on its own.
//
// Run: SDL_VIDEODRIVER=offscreen ./bench-frames [seconds] [unpaced]
//      or under an X display (a virtual one: xvfb-run) with SDL_VIDEODRIVER=x11.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/app.h"
#include "platform/files.h"
#include "support/benchsupport.h"
#include "zandrovia/globals.h"
#include "zandrovia/loader.h"
#include "zandrovia/zandrovia.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
    benchsupport::SetUpHeadless();
    const double duration = argc > 1 ? std::atof(argv[1]) : 10.0;
    const bool unpaced = argc > 2 && std::string(argv[2]) == "unpaced";

    StartGame();
    platform::AppInstance& app = *platform::AppInstance::Instance();
    while (AppWindow->CurrentScreen() == AppWindow->LoaderScreen()) app.Step(true);
    // A few frames for the Game screen to settle.
    for (int k = 0; k < 10; ++k) app.Step(true);

    app.FramePacing(!unpaced);
    int frames = 0;
    const double cpuStart = CpuSeconds();
    const Clock::time_point start = Clock::now();
    double wall = 0;
    // Gaps between frames longer than one and a half 60 Hz periods: frames the
    // loop could not make in time (a busy machine, a slow frame).
    int late = 0;
    double lastFrame = 0, longest = 0;
    while ((wall = Seconds(Clock::now() - start)) < duration) {
        if (app.RenderRequested()) {
            if (frames > 0) {
                longest = std::max(longest, wall - lastFrame);
                late += wall - lastFrame > 1.5 / 60;
            }
            lastFrame = wall;
            ++frames;
        }
        app.Step(true);
    }
    const double cpu = CpuSeconds() - cpuStart;
    std::printf("video driver %s%s: %d frames in %.2f s: %.1f frames per second, CPU %.1f%% of one core, "
                "%.2f ms of CPU a frame, %d draw calls a frame; %d gaps over 25 ms, the longest %.1f ms\n",
                std::getenv("SDL_VIDEODRIVER"), unpaced ? " (unpaced)" : "", frames, wall, frames / wall,
                100.0 * cpu / wall, frames ? 1000.0 * cpu / frames : 0.0, AppWindow->GetCanvas().DrawCalls(), late, 1000 * longest);
    return 0;
}
