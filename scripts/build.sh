#!/usr/bin/env bash
# Installs what is missing and builds into build/.
#   bash scripts/build.sh play   the game and its tools only, without tests or benchmarks
#   bash scripts/build.sh test   everything, tests and benchmarks included (the default)
set -euo pipefail
cd "$(dirname "$0")/.."
kind="${1:-test}"
bash scripts/setup.sh "$kind"
if [ "$kind" = play ]; then
  switches=(-DZORBIX_TESTS=OFF -DZORBIX_BENCHMARKS=OFF)
else
  switches=(-DZORBIX_TESTS=ON -DZORBIX_BENCHMARKS=ON)
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${switches[@]}" >/dev/null
cmake --build build
