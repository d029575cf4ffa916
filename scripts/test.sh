#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole test suite three
# times: a normal build, one with AddressSanitizer and
# UndefinedBehaviorSanitizer, and the Windows build (cross-built by
# scripts/build-windows.sh, run under Wine on a virtual X display, with the
# start-up test of the real Zandrovia.exe). Every suite runs; the summary of
# each is printed at the end and the script fails when any failed.
# ZANDROVIA_BUILD_DIR names the build folder (default "build"; the sanitizer
# build goes beside it with "-asan" added, the Windows one with "-windows").
# ZANDROVIA_WINDOWS_TESTS=0 leaves the Windows suite out.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)
build=${ZANDROVIA_BUILD_DIR:-build}
logs=$(mktemp -d)
xvfb=""
cleanup() {
  if [[ -n $xvfb ]]; then kill "$xvfb" 2> /dev/null || true; fi
  rm -rf "$logs"
}
trap cleanup EXIT

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

# run_windows: the cross-built tests under Wine, on a virtual X display of
# their own (the windows are real; SDL's offscreen driver needs EGL, which
# Windows lacks).
run_windows() {
  echo "== windows =="
  local dir=$build-windows stage=$SECONDS
  ZANDROVIA_WINDOWS_BUILD_DIR=$dir scripts/build-windows.sh --tests || {
    # 3: OpenAL Soft's source is not on this machine; said in the summary.
    if (($? == 3)); then
      echo "not run: OpenAL Soft's source is missing (see the README's Windows section)" > "$logs/windows.skipped"
      return 0
    fi
    return 1
  }
  echo "Windows build: $((SECONDS - stage)) s"
  exec 3> "$logs/display"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp > "$logs/xvfb.log" 2>&1 &
  xvfb=$!
  exec 3>&-
  local waited=0
  while [[ ! -s $logs/display ]] && ((waited < 100)); do sleep 0.1; waited=$((waited + 1)); done
  if [[ ! -s $logs/display ]]; then
    echo "Xvfb did not start: $(cat "$logs/xvfb.log")"
    return 1
  fi
  export DISPLAY=:$(head -1 "$logs/display")
  # The tests' Wine prefix (<build>/build/wineprefix): its first start makes it.
  local prefix booted=$SECONDS
  prefix=$(realpath -m "$dir/build/wineprefix")
  WINEPREFIX=$prefix WINEDEBUG=-all wineboot -i > /dev/null 2>&1 || true
  WINEPREFIX=$prefix wineserver -w
  echo "wineboot: $((SECONDS - booted)) s"
  # One Wine server for the whole run instead of one per test program.
  WINEPREFIX=$prefix wineserver -p
  # Wine's own background programs start with the first program run and
  # inherit its output: started here, they hold no pipe that ctest reads to
  # its end.
  WINEPREFIX=$prefix WINEDEBUG=-all wine cmd /c exit < /dev/null > /dev/null 2>&1 || true
  local tests=$SECONDS code
  # Programs under Wine run slower than at home: a longer limit per test.
  # Under heavy load Wine now and then fails to start a program at all (it
  # ends within a few hundredths of a second, before the test's first
  # line): a failed test gets one more run, and both are in the log.
  ctest --test-dir "$dir/build" --output-on-failure --timeout 600 --repeat until-pass:2 -j "$jobs" 2>&1 |
    tee "$logs/windows.log"
  code=${PIPESTATUS[0]}
  echo "Windows tests: $((SECONDS - tests)) s"
  WINEPREFIX=$prefix wineserver -k || true
  kill "$xvfb" 2> /dev/null || true
  wait "$xvfb" 2> /dev/null || true
  xvfb=""
  return "$code"
}

status=0
start=$SECONDS
suites=(normal sanitizer)
run_suite normal "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo || status=1
run_suite sanitizer "$build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZANDROVIA_SANITIZE=ON \
  -DZANDROVIA_BENCH=OFF || status=1
if [[ ${ZANDROVIA_WINDOWS_TESTS:-1} != 0 ]]; then
  suites+=(windows)
  run_windows || status=1
fi

echo
echo "== Summary ($((SECONDS - start)) s) =="
for name in "${suites[@]}"; do
  summary=$(cat "$logs/$name.skipped" 2> /dev/null || grep -E "tests passed|tests failed" "$logs/$name.log" 2> /dev/null | tail -1 || true)
  echo "$name: ${summary:-did not run (build failed)}"
done
exit "$status"
