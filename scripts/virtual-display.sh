#!/usr/bin/env bash
# Runs a command under a virtual X display of its own, as xvfb-run does, on a display number
# no server of ours has used lately. A server that has just been told to stop can still take
# the socket and lock of a new server on its number with it, leaving that display
# unreachable; so the numbers go round from 100 to 899 instead of starting again at the
# lowest free one.
#   bash scripts/virtual-display.sh [XVFB_RUN_OPTION...] -- COMMAND...
set -euo pipefail

# The server must not reset when its last client leaves: between two clients (two tests, a
# probe and the game) a reset makes the next one's connection fail.
options=()
while [ "$#" -gt 0 ] && [ "$1" != "--" ]; do
    if [ "$1" = "-s" ] && [ "$#" -gt 1 ]; then
        options+=("$1" "$2 -noreset")
        shift 2
    else
        options+=("$1")
        shift
    fi
done
[ "$#" -gt 1 ] || { echo "virtual-display.sh: [XVFB_RUN_OPTION...] -- COMMAND..." >&2; exit 2; }
shift

first=100
last=899
counter=/tmp/zorbix-next-display
exec 9>>"$counter.lock"
flock 9
display=$(cat "$counter" 2>/dev/null || true)
if ! [[ "$display" =~ ^[0-9]+$ ]] || [ "$display" -lt "$first" ] || [ "$display" -gt "$last" ]; then
    display=$first
fi
echo $((display >= last ? first : display + 1)) >"$counter"
flock -u 9
exec 9>&-

# -a after -n: from this number upwards, the first one free, trying the next when taken. The
# command starts once the server answers a client, which its signal of readiness has not
# always meant.
exec xvfb-run -n "$display" -a "${options[@]}" bash -c '
    for _ in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && exec "$@"
        sleep 0.1
    done
    echo "virtual-display.sh: display $DISPLAY does not answer" >&2
    exit 1' virtual-display "$@"
