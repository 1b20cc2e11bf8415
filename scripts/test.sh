#!/usr/bin/env bash
# Builds everything, fuzzes every reader of the game's files for a short while, and runs
# every test; the OpenGL tests get a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh test
bash scripts/fuzz.sh
bash scripts/virtual-display.sh -s "-screen 0 1280x1024x24" -- ctest --test-dir build --output-on-failure -j2
