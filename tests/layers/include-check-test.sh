#!/usr/bin/env bash
# The include check on small trees of one include each, against the build's layers: includes
# upwards or sideways between libraries fail naming the include, includes downwards pass.
#   bash tests/layers/include-check-test.sh BUILD_DIRECTORY
set -uo pipefail
check=$(dirname "$0")/../../scripts/check-includes.sh
build=$1
status=0
# FILE INCLUDED EXPECTED(pass|fail)
while read -r file included expected; do
    tree=$(mktemp -d)
    mkdir -p "$tree/$(dirname "$file")" "$tree/$(dirname "$included")"
    touch "$tree/$included"
    printf '#pragma once\n#include "%s"\n' "$included" >"$tree/$file"
    out=$(bash "$check" "$build" "$tree" 2>&1)
    outcome=$([ $? -eq 0 ] && echo pass || echo fail)
    if [ "$outcome" != "$expected" ] ||
        { [ "$expected" = fail ] && ! grep -q "$file (.*) includes $included of" <<<"$out"; }; then
        echo "include-check-test: $file including $included should $expected:" >&2
        printf '%s\n' "$out" >&2
        status=1
    fi
    rm -rf "$tree"
done <<'CASES'
audio/wavefile/WaveCollection.h audio/DirectSound.h fail
render/Camera.h audio/Music.h fail
core/Types.h platform/d3d/DeviceWidget.h fail
platform/interfaces/D3D8.h core/Types.h fail
settings/Options.h settings/dialogs/AboutBox.h fail
audio/WavePlayback.h audio/wavefile/WaveCollection.h pass
core/Types.h platform/interfaces/D3D8.h pass
app/FormMain.h settings/dialogs/AboutBox.h pass
CASES
[ "$status" -ne 0 ] || echo "include-check-test: every case as expected"
exit "$status"
