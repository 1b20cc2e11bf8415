#!/usr/bin/env bash
# Installs every Debian package the game, its tools and its tests need. Safe to run again.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config git clang-format
  # fuzzing (libFuzzer ships with clang's runtime)
  clang-14 libclang-rt-14-dev
  # window, menus, dialogs, bitmaps, OpenGL
  qt6-base-dev libxcb1-dev libqt6opengl6-dev libgl1-mesa-dev libgl1-mesa-dri libglx-mesa0 libxkbcommon-dev
  # pictures, sound, music
  libjpeg-dev libsdl2-dev libfluidsynth-dev timgm6mb-soundfont fonts-dejavu-core fonts-dejavu-extra
  # tests and benchmarks
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  # headless display for the OpenGL device and the end-to-end run
  xvfb xauth xdotool x11-utils imagemagick
  # a window manager for the window test and the CPU measurement
  openbox
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
