// What every benchmark program does before and around its measurements.
#pragma once

namespace benchsupport {

// Headless devices (offscreen video, no sound card) unless the environment
// names others, and the build folder's assets unless ZANDROVIA_ASSETS names
// a folder (a benchmark sits one folder below the build folder's assets link).
void SetUpHeadless();

// Google Benchmark's main: runs the benchmarks the command line selects;
// 1 on an argument it does not know.
int RunBenchmarks(int argc, char** argv);

}  // namespace benchsupport
