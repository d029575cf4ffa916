#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole test suite twice:
# a normal build and one with AddressSanitizer and UndefinedBehaviorSanitizer.
# Both suites always run; the summary of each is printed at the end and the
# script fails when either failed. ZANDROVIA_BUILD_DIR names the build folder
# (default "build"; the sanitizer build goes beside it with "-asan" added).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)
build=${ZANDROVIA_BUILD_DIR:-build}
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

# run_suite <name> <build folder> <cmake options...>
run_suite() {
  local name=$1 dir=$2
  shift 2
  echo "== $name =="
  cmake -S . -B "$dir" "$@" > /dev/null || return 1
  cmake --build "$dir" -j "$jobs" || return 1
  ctest --test-dir "$dir" --output-on-failure --timeout 300 -j "$jobs" 2>&1 | tee "$logs/$name.log"
  return "${PIPESTATUS[0]}"
}

status=0
start=$SECONDS
run_suite normal "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo || status=1
run_suite sanitizer "$build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZANDROVIA_SANITIZE=ON \
  -DZANDROVIA_BENCH=OFF || status=1

echo
echo "== Summary ($((SECONDS - start)) s) =="
for name in normal sanitizer; do
  summary=$(grep -E "tests passed|tests failed" "$logs/$name.log" | tail -1 || true)
  echo "$name: ${summary:-did not run (build failed)}"
done
exit "$status"
