#!/usr/bin/env bash
# Installs the Debian packages the game needs. Safe to run again.
#   bash scripts/setup.sh play   what building and playing needs
#   bash scripts/setup.sh test   that and everything the tests, the fuzzer and the package
#                                checks need (the default)
#   bash scripts/setup.sh release   what building and packaging a release needs
set -euo pipefail

play_packages=(
  # build
  build-essential cmake ninja-build pkg-config git
  # window, menus, dialogs, bitmaps, OpenGL
  qt6-base-dev libxcb1-dev libqt6opengl6-dev libgl1-mesa-dev libgl1-mesa-dri libglx-mesa0 libxkbcommon-dev
  # pictures, sound, music
  libjpeg-dev libsdl2-dev libfluidsynth-dev timgm6mb-soundfont fonts-dejavu-core fonts-dejavu-extra
  # the toolkit's Wayland platform, so that a Wayland session runs the game natively
  qt6-wayland
)
# cpack's Debian generator tells the programs by their file type
release_packages=(file)
test_packages=(
  "${release_packages[@]}"
  # the format and static analysis gates of CI, its compiler cache, and the interpreter of its
  # cache of clean clang-tidy results
  clang-format clang-tidy ccache python3
  # fuzzing with the distribution's clang (libFuzzer ships with its runtime)
  clang libclang-rt-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  # headless display for the OpenGL device, the end-to-end run and the install test
  xvfb xauth xdotool x11-utils imagemagick
  # window managers for the window test and the CPU measurement, a Wayland compositor for the
  # Wayland test
  openbox icewm weston
  # pgrep and pkill, for the session-end and Wayland tests
  procps
  # the desktop file, metainfo and package checks
  desktop-file-utils appstream lintian
)

packages=("${play_packages[@]}")
case "${1:-test}" in
  play) ;;
  test) packages+=("${test_packages[@]}") ;;
  release) packages+=("${release_packages[@]}") ;;
  *) echo "setup.sh: play, test or release, not \"$1\"" >&2; exit 2 ;;
esac

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
