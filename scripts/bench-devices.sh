#!/usr/bin/env bash
# Compares the software renderer's fill rate with the OpenGL one's (Mesa's llvmpipe under Xvfb
# here): for each size the bench runs of the devices alternate, three rounds, and the best
# frame rate of each is kept.
#   bash scripts/bench-devices.sh PROGRAM_DIR [OTHER_PROGRAM_DIR...]
# Sizes come from SIZES (default "640 1024 1440 2160"). Each program directory's software renderer
# is measured (say an older build beside the new one); the OpenGL device runs from the first.
# Prints per size and program: its frame rate, the ratio to the OpenGL device's, and the
# software renderer's fragments and shaded pixels per frame.
# Run it alone on the machine (under the shared CPU lock): other work distorts the figures.
set -euo pipefail

programs=()
for dir in "$@"; do programs+=("$(cd "$dir" && pwd)/zorbix"); done
read -r -a sizes <<<"${SIZES:-640 1024 1440 2160}"

# The value of key $1 in the bench line $2.
field() { tr ' ' '\n' <<<"$2" | sed -n "s/^$1=//p"; }
larger() { awk -v a="$1" -v b="$2" 'BEGIN {print (b > a) ? b : a}'; }

for size in "${sizes[@]}"; do
  hardware=0
  declare -A best=() counts=()
  for _ in 1 2 3; do
    for program in "${programs[@]}"; do
      line=$("$program" --bench-frames 300 --device reference --size "$size")
      best[$program]=$(larger "${best[$program]:-0}" "$(field fps "$line")")
      counts[$program]="fragments=$(field fragments "$line") shaded=$(field shaded "$line")"
    done
    line=$(bash "$(dirname "$0")/virtual-display.sh" -s "-screen 0 2400x2400x24" -- "${programs[0]}" --bench-frames 300 \
      --device hardware --size "$size" 2>/dev/null)
    hardware=$(larger "$hardware" "$(field fps "$line")")
  done
  for program in "${programs[@]}"; do
    ratio=$(awk -v r="${best[$program]}" -v h="$hardware" 'BEGIN {printf "%.2f", (h > 0) ? r / h : 0}')
    echo "size=$size program=$program reference=${best[$program]}fps hardware=${hardware}fps" \
      "ratio=$ratio ${counts[$program]}"
  done
  unset best counts
done
