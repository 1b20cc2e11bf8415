#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over every C++ source the build compiles
# (the game, its tools, tests and benchmarks; not the generated ones) and over our headers
# they include. Any finding fails.
#   bash scripts/check-tidy.sh [BUILD_DIRECTORY]   (default: build; configured, and built
#                                                   once so that the generated headers exist;
#                                                   a unity build is checked by its batches)
# Where ZORBIX_TIDY_CACHE names a folder, sources found clean there before, with the same
# command, the same bytes in every file they include, the same checks and the same tool, are
# not checked again (scripts/tidy-cache.py); the build must be up to date.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath "${1:-build}")
[ -f "$build/compile_commands.json" ] || { echo "check-tidy: no compile_commands.json in $build" >&2; exit 1; }
folders='app|audio|bench|core|game|math|platform|render|settings|tests|tools'
log=$(mktemp)
keys=$(mktemp)
version=$(mktemp)
trap 'rm -f "$log" "$keys" "$version"' EXIT
sources=("^$root/($folders)/|/Unity/unity_[0-9]+_cxx\.cxx$")
cache=${ZORBIX_TIDY_CACHE:-}
if [ -n "$cache" ]; then
  clang-tidy --version >"$version"
  python3 scripts/tidy-cache.py pending "$build" "$cache" "${sources[0]}" "$version" "$keys" >"$log"
  mapfile -t sources <"$log"
  if [ ${#sources[@]} -eq 0 ]; then
    echo "check-tidy: no findings (every source as found clean before)"
    exit 0
  fi
  echo "check-tidy: ${#sources[@]} sources changed since they were found clean"
fi
# run-clang-tidy's exit status does not count warnings, so the report decides.
# A unity build's sources are its batches of ours, each one pass of the checks over the
# library headers they share: a fraction of the time of one pass a source.
run-clang-tidy -quiet -p "$build" -j "$(nproc)" -header-filter="^$root/($folders)/" \
    "${sources[@]}" >"$log" 2>&1 || true
# Without the colours it adds for a terminal, one line per finding, each once.
# A unity batch is nothing but includes of our sources, which the include check would call
# suspicious.
if sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -E '(warning|error): ' |
    grep -Ev '/Unity/unity_[0-9]+_cxx\.cxx:[0-9]+:[0-9]+: .*\[bugprone-suspicious-include' |
    sort -u | grep .; then
    echo "check-tidy: clang-tidy has findings (above)" >&2
    exit 1
fi
if [ -n "$cache" ]; then
  python3 scripts/tidy-cache.py record "$cache" "$keys"
fi
echo "check-tidy: no findings"
