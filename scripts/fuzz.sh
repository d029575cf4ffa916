#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang, libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer (in build-fuzz), runs each for the given
# number of seconds (default 60), several at a time, and prints a table:
# target, executions, seconds, crashes.
#
#   scripts/fuzz.sh [seconds] [target...]
#
# ZANDROVIA_FUZZ_JOBS: targets run at once (default 4).
# ZANDROVIA_FUZZ_RUNS: also stop a target after that many executions.
# New inputs go to build-fuzz/fuzz-work/<target>/, the inputs that broke a
# target to build-fuzz/fuzz-crashes/<target>/ and its log to
# build-fuzz/fuzz-logs/<target>.log. A crash stops its target; copy the
# input into fuzz/regressions/<target>/, named after the fault, once fixed.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
jobs=${ZANDROVIA_FUZZ_JOBS:-4}
runs=${ZANDROVIA_FUZZ_RUNS:-0}
build=build-fuzz

scripts/install-deps.sh
launcher=()
if command -v ccache > /dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZANDROVIA_FUZZ=ON \
  -DZANDROVIA_TESTS=OFF -DZANDROVIA_BENCH=OFF "${launcher[@]}" > /dev/null
cmake --build "$build" -j "$(nproc)" > "$build/fuzz-build.log" || { tail -40 "$build/fuzz-build.log"; exit 1; }

targets=("$@")
if ((${#targets[@]} == 0)); then
  for binary in "$build"/fuzz/fuzz-*; do targets+=("${binary##*/fuzz-}"); done
fi

# Binary inputs are capped so that mutations stay quick; text inputs take
# libFuzzer's own limit.
max_len() {
  case $1 in
    font | ogg | image | wav) echo 65536 ;;
    *) echo 0 ;;
  esac
}

# A failed allocation gives null as the C library's does, so that C code which
# checks is judged by its check; C++ allocations still report, and any beyond
# the RSS limit are reported by libFuzzer.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ZANDROVIA_ASSETS=$PWD/assets/

run_target() {
  local target=$1
  local work=$build/fuzz-work/$target crashes=$build/fuzz-crashes/$target
  mkdir -p "$work" "$crashes" "$build/fuzz-logs"
  local corpora=("$work" "$build/fuzz-seeds/$target") folder
  for folder in "fuzz/corpus/$target" "fuzz/regressions/$target"; do
    if [[ -d $folder ]]; then corpora+=("$folder"); fi
  done
  local start=$SECONDS
  touch "$build/fuzz-logs/$target.start"
  "$build/fuzz/fuzz-$target" -max_total_time="$seconds" -runs="$((runs > 0 ? runs : -1))" \
    -max_len="$(max_len "$target")" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$crashes/" "${corpora[@]}" > "$build/fuzz-logs/$target.log" 2>&1 || true
  echo "$((SECONDS - start))" > "$build/fuzz-logs/$target.seconds"
}

for target in "${targets[@]}"; do
  while (($(jobs -rp | wc -l) >= jobs)); do wait -n || true; done
  echo "fuzzing $target"
  run_target "$target" &
done
wait

printf '\n%-14s %14s %8s %8s\n' target executions seconds crashes
failed=0
for target in "${targets[@]}"; do
  log=$build/fuzz-logs/$target.log
  executions=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' || true)
  crashes=$(find "$build/fuzz-crashes/$target" -type f -newer "$build/fuzz-logs/$target.start" | wc -l)
  # A target that did not run (no statistics) fails the run as a crash does.
  if ((crashes > 0)) || [[ -z $executions ]]; then failed=1; fi
  printf '%-14s %14s %8s %8s\n' "$target" "${executions:-?}" "$(cat "$build/fuzz-logs/$target.seconds")" "$crashes"
done
exit "$failed"
