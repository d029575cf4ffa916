#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite twice: a
# normal build and one with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)

echo "== Normal build =="
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== Sanitizer build (ASan + UBSan) =="
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZANDROVIA_SANITIZE=ON -DZANDROVIA_BENCH=OFF > /dev/null
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"
