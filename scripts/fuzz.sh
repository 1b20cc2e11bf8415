#!/usr/bin/env bash
# Fuzzes every reader of outside bytes, each for a bounded time (ZORBIX_FUZZ_SECONDS, default
# 15) from valid files made by the game's own writers: "Sounds.dxw", "Options.ini" and its
# integers, "HiScores.dat", the MIDI tunes, the bitmaps and masks the textures come from, the
# JPEG pictures of the first run, the high-score name entry's filter, and the kept games'
# replay files. Fails on any crash, leak, hang or sanitizer report, leaving the input that
# caused it in build/fuzz/. ZORBIX_FUZZ_ONLY names one fuzzer to run
# (for long runs), ZORBIX_FUZZ_RUNS bounds the executions instead of the time (or as well,
# where ZORBIX_FUZZ_SECONDS is set).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${ZORBIX_FUZZ_SECONDS:-15}"
only="${ZORBIX_FUZZ_ONLY:-}"
out=build/fuzz

cmake -S tests/fuzz -B "$out" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out" -j2 >/dev/null

rm -rf "$out/seeds"
mkdir -p "$out/seeds/wave"
"$out/wave_collection_seeds" "$out/seeds/wave"
"$out/reader_seeds" "$out/seeds"
# Names as players type and paste them: accents composed and not, tabs, emoji, the euro sign.
mkdir -p "$out/seeds/names"
printf 'Ann' >"$out/seeds/names/plain"
printf 'Ren\xc3\xa9e e\xcc\x81 \xe2\x82\xac5' >"$out/seeds/names/accents"
printf 'a\tb\x07\x1b\r\n\xf0\x9f\x98\x80\xc2\xad\xce\xa9' >"$out/seeds/names/refused"

limit=(-max_total_time="$seconds")
if [ -n "${ZORBIX_FUZZ_RUNS:-}" ]; then
  limit=(-runs="$ZORBIX_FUZZ_RUNS")
  if [ -n "${ZORBIX_FUZZ_SECONDS:-}" ]; then
    limit+=(-max_total_time="$seconds")
  fi
fi

# fuzz NAME SEEDS MALLOC_LIMIT_MB [OPTION...]
fuzz() {
  local name="$1" seeds="$2" malloc_mb="$3"
  shift 3
  if [ -n "$only" ] && [ "$only" != "$name" ]; then
    return 0
  fi
  rm -rf "$out/corpus/$name"
  mkdir -p "$out/corpus/$name"
  local log="$out/$name.log"
  if ! "$out/${name}_fuzzer" "$out/corpus/$name" "$out/seeds/$seeds" "${limit[@]}" -timeout=5 \
      -rss_limit_mb=3072 -malloc_limit_mb="$malloc_mb" -max_len=4096 \
      -artifact_prefix="$out/$name-" -print_final_stats=1 "$@" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz.sh: the $name reader failed; see $log" >&2
    exit 1
  fi
  local runs rate
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  echo "fuzz.sh: $name: $runs executions, $rate a second, no failure"
}

fuzz wave_collection wave 256 -dict=tests/fuzz/wave_collection.dict
fuzz options_file options 256
fuzz integer_text integer 256
fuzz score_table scores 256
fuzz midi_song midi 256
fuzz name_filter names 256
fuzz replay replay 256
# A picture may be as large as the device's textures (8192 a side at 32 bits) and its mask
# as large again.
fuzz bitmap_texture bitmap 1100
fuzz jpeg_conversion jpeg 1100
