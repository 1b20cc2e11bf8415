#!/usr/bin/env bash
# The model layer as a build fact: the simulation driver, the game tests and the game benchmark
# must link without Qt, OpenGL, SDL, FluidSynth, libjpeg or X. Reads the real link lines of the
# build (the linker drops unused libraries, so the finished programs would not tell).
#   bash scripts/check-layers.sh BUILD_DIRECTORY TARGET...
set -euo pipefail
build=$1
shift
targets=("$@")
forbidden='Qt6|libGL|-lGL\b|OpenGL|SDL2|fluidsynth|jpeg|xcb'

link_line() {
    if [ -f "$build/build.ninja" ]; then
        ninja -C "$build" -t commands "$1" | tail -n 1
    else
        cat "$(find "$build" -path "*/CMakeFiles/$1.dir/link.txt" | head -n 1)"
    fi
}

status=0
for target in "${targets[@]}"; do
    line=$(link_line "$target")
    [ -n "$line" ] || { echo "check-layers: no link line for $target" >&2; status=1; continue; }
    named=$(grep -oE "[^ ]*($forbidden)[^ ]*" <<<"$line" | sort -u | tr '\n' ' ' || true)
    if [ -n "$named" ]; then
        echo "check-layers: $target links $named" >&2
        status=1
    else
        echo "check-layers: $target links only the model"
    fi
done
exit "$status"
