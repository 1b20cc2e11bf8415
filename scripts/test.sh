#!/usr/bin/env bash
# Builds everything, fuzzes every reader of the game's files for a short while, and runs
# every test; the OpenGL tests get a virtual display, and no test may skip.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh test
bash scripts/fuzz.sh
bash scripts/run-tests.sh build
