#!/usr/bin/env bash
# Measures the share of one core the game takes on the title picture, in play, paused and
# while minimised, under Xvfb with a window manager (openbox), for one device: reference,
# hardware (OpenGL, even where it draws in software) or default (the game's own choice, its
# warning answered).
#   bash scripts/measure-cpu.sh PROGRAM_DIR reference|hardware|default [SECONDS_PER_STATE]
# PROGRAM_DIR holds zorbix and its data (build/bin); it is copied first, so the files the game
# writes at close stay out of it. Prints one line:
#   cpu device=... title=..% play=..% paused=..% minimised=..%
# Run it alone on the machine (under the shared CPU lock): other work distorts the figures.
set -euo pipefail

if [ "${1:-}" != "--inside" ]; then
  program_dir=$(cd "$1" && pwd)
  device=$2
  seconds=${3:-4}
  case "$device" in reference | hardware | default) ;; *) echo "device: reference, hardware or default" >&2; exit 2 ;; esac
  exec bash "$(dirname "$0")/virtual-display.sh" -s "-screen 0 1280x1024x24" -- bash "$0" --inside "$program_dir" "$device" "$seconds"
fi

program_dir=$2
device=$3
seconds=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$program_dir/." "$work/"

openbox >/dev/null 2>&1 &
wm=$!
sleep 1

# The share of one core that process $1 takes over the next $seconds seconds, in percent.
cpu_share() {
  local pid=$1 ticks before after
  ticks=$(getconf CLK_TCK)
  before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  sleep "$seconds"
  after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  awk -v d=$((after - before)) -v t="$ticks" -v s="$seconds" 'BEGIN {printf "%.1f", 100 * d / t / s}'
}

device_switch=()
if [ "$device" != default ]; then device_switch=(--device "$device"); fi
(cd "$work" && exec env HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  XDG_CACHE_HOME="$work/cache" SDL_AUDIODRIVER=dummy ./zorbix "${device_switch[@]}") \
  >"$work/game.log" 2>&1 &
game=$!
pid=$game
log="$work/game.log"
fail() { echo "measure-cpu: $*" >&2; exit 1; }
source "$(dirname "$0")/session-steps.sh"
find_main_window
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
sleep 3 # loading, then the title picture settles
title=$(cpu_share "$game")

xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
xdotool key --window "$window" space
sleep 0.5
play=$(cpu_share "$game")

xdotool key --window "$window" Escape
sleep 0.5
paused=$(cpu_share "$game")
xdotool key --window "$window" space

xdotool windowminimize --sync "$window"
sleep 1
minimised=$(cpu_share "$game")

kill "$game" "$wm" 2>/dev/null || true
wait "$game" 2>/dev/null || true
echo "cpu device=$device title=$title% play=$play% paused=$paused% minimised=$minimised%"
