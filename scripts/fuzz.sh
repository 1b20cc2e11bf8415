#!/usr/bin/env bash
# Fuzzes the "Sounds.dxw" reader, starting from valid files made by the game's writer, and
# the other pure file readers, each for a bounded time (ZORBIX_FUZZ_SECONDS, default 20). Fails on any crash, leak, hang or
# sanitizer report, leaving the input that caused it in build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${ZORBIX_FUZZ_SECONDS:-20}"
out=build/fuzz

cmake -S tests/fuzz -B "$out" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out" -j2 >/dev/null

rm -rf "$out/seeds" "$out/corpus"
mkdir -p "$out/seeds" "$out/corpus"
"$out/wave_collection_seeds" "$out/seeds"

if ! "$out/wave_collection_fuzzer" "$out/corpus" "$out/seeds" \
    -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -malloc_limit_mb=256 -max_len=4096 \
    -dict=tests/fuzz/wave_collection.dict -artifact_prefix="$out/" -print_final_stats=1 \
    >"$out/fuzz.log" 2>&1; then
  tail -n 60 "$out/fuzz.log"
  echo "fuzz.sh: the wave collection reader failed; see $out/fuzz.log" >&2
  exit 1
fi
grep -E '^stat::number_of_executed_units|^Done' "$out/fuzz.log" || true

# The settings text, integers, high-score entries, bitmap check and tune checker.
mkdir -p "$out/readers-corpus"
if ! "$out/file_readers_fuzzer" "$out/readers-corpus" \
    -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -malloc_limit_mb=256 -max_len=4096 \
    -artifact_prefix="$out/" -print_final_stats=1 >"$out/readers-fuzz.log" 2>&1; then
  tail -n 60 "$out/readers-fuzz.log"
  echo "fuzz.sh: a file reader failed; see $out/readers-fuzz.log" >&2
  exit 1
fi
grep -E '^stat::number_of_executed_units' "$out/readers-fuzz.log" || true
echo "fuzz.sh: no failure in ${seconds} s each"
