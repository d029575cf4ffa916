#include "support/benchsupport.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "platform/files.h"

namespace benchsupport {

void SetUpHeadless() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    if (!std::getenv("ZANDROVIA_ASSETS")) platform::SetAssetsDir(platform::AppDir() + "../assets/");
}

int RunBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace benchsupport
