#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over every C++ source the build compiles
# (the game, its tools, tests and benchmarks; not the generated ones) and over our headers
# they include. Any finding fails.
#   bash scripts/check-tidy.sh [BUILD_DIRECTORY]   (default: build; configured, and built
#                                                   once so that the generated headers exist)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath "${1:-build}")
[ -f "$build/compile_commands.json" ] || { echo "check-tidy: no compile_commands.json in $build" >&2; exit 1; }
folders='app|audio|bench|core|game|math|platform|render|settings|tests|tools'
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# run-clang-tidy's exit status does not count warnings, so the report decides.
run-clang-tidy -quiet -p "$build" -j "$(nproc)" -header-filter="^$root/($folders)/" \
    "^$root/($folders)/" >"$log" 2>&1 || true
# Without the colours it adds for a terminal, one line per finding, each once.
if sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -E '(warning|error): ' | sort -u | grep .; then
    echo "check-tidy: clang-tidy has findings (above)" >&2
    exit 1
fi
echo "check-tidy: no findings"
