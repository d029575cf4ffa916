#!/usr/bin/env bash
# Installs what is missing, builds a Release and runs the game.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DZANDROVIA_TESTS=OFF -DZANDROVIA_BENCH=OFF > /dev/null
cmake --build build-release --target Zandrovia -j "$(nproc)"
exec build-release/Zandrovia
