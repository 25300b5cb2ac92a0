#!/usr/bin/env bash
# Installs what the game needs, builds the game folder and starts the game; options go to the
# game (./tools/play.sh --lang=en starts the English edition).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_BUILD_TESTS=OFF -DQM_BUILD_BENCH=OFF
cmake --build build
exec ./build/game/quelmarin "$@"
