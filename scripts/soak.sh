#!/usr/bin/env bash
# Runs the whole game under the autopilot for a number of frames (default
# 100,000) in the sanitizer build (build-asan, or ZANDROVIA_BUILD_DIR with
# "-asan" added), against a local score service, and prints its report:
# frames, levels visited, games played and ended, names given, the pause
# menu's visits, switches and reset dialogs, boss frames, the memory at
# 10%, 50% and 100% of the run and once every level was played, and the
# pools at every level change. Fails on a sanitizer report or a pool that
# was not back to full at a level change.
#
#   scripts/soak.sh [frames] [recording file]
set -euo pipefail
cd "$(dirname "$0")/.."

frames=${1:-100000}
build=${ZANDROVIA_BUILD_DIR:-build}-asan

scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZANDROVIA_SANITIZE=ON -DZANDROVIA_BENCH=OFF > /dev/null
cmake --build "$build" -j "${ZANDROVIA_JOBS:-$(nproc)}" --target soak

# The tests' headless environment; the system's GL and audio drivers keep
# memory until exit, so leaks are not reported.
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe
export ALSOFT_DRIVERS=null ZANDROVIA_ASSETS=$PWD/assets ZANDROVIA_TEST_TOOLS=$PWD/tests/tools
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
start=$SECONDS
"$build/tests/soak" "$frames" ${2:+"$2"}
echo "wall time        $((SECONDS - start)) s"
