#!/usr/bin/env bash
# Runs a build's tests under a virtual display of their own, where every tool they use is
# installed: a test that reports itself skipped there lacks a package in scripts/setup.sh, so
# a skip fails the run as a failure would.
#   bash scripts/run-tests.sh BUILD_DIRECTORY [CTEST_OPTION...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
shift
log=$(mktemp)
trap 'rm -f "$log"' EXIT
bash scripts/virtual-display.sh -s "-screen 0 1280x1024x24" -- \
    ctest --test-dir "$build" --output-on-failure -j2 "$@" | tee "$log"
if grep -q '(Skipped)$' "$log"; then
    echo "run-tests: tests were skipped though the test command installs what they need" >&2
    exit 1
fi
