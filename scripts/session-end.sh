#!/usr/bin/env bash
# The real game ended from outside, as a desktop session ends programs: by SIGTERM (a logout),
# SIGHUP (a closed terminal), SIGINT (Ctrl+C), by another client destroying its window, and by
# its display going away. Each time a setting changed in the menu (the Corner view, F8) must be
# in "Options.ini" afterwards, and the program must end by itself: cleanly (status 0) for the
# signals and the destroyed window, with status 1 for the lost display.
#   bash scripts/session-end.sh [PROGRAM_DIRECTORY]   (default: build/bin)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/need-tools.sh
need_display_tools
need_tools xdotool pgrep

program_dir=$(realpath "${1:-build/bin}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$program_dir/zorbix" "$program_dir/Images" "$program_dir/Sounds.dxw" "$work/"
cp scripts/session-steps.sh "$work/"

cat >"$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
work=$1
ending=$2
fail() { echo "session-end ($ending): $*" >&2; exit 1; }
source "$work/session-steps.sh"

cd "$work"
rm -f Options.ini
log="$work/program.log"
SDL_AUDIODRIVER=dummy ./zorbix --reference >"$log" 2>&1 &
pid=$!
warning_wait=0 find_main_window
sleep 2
xdotool key --window "$window" F8 # the Corner view, written only when the program ends
sleep 0.5
case $ending in
TERM | HUP | INT) kill -s "$ending" "$pid" ;;
window) xdotool windowclose "$window" ;;
display) kill "$(pgrep -f "Xvfb $DISPLAY " | head -1)" ;;
esac
for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$pid" 2>/dev/null; then
    kill -9 "$pid"
    fail "the program did not end"
fi
wait "$pid"
echo $? >"$work/status"
SESSION

expected_status() { [ "$1" = display ] && echo 1 || echo 0; }
for ending in TERM HUP INT window display; do
    rm -f "$work/status"
    bash scripts/virtual-display.sh -s "-screen 0 1024x768x24" -- bash "$work/session.sh" "$work" "$ending" || true
    status=$(cat "$work/status" 2>/dev/null || echo none)
    [ "$status" = "$(expected_status "$ending")" ] ||
        { echo "session-end ($ending): the program ended with status $status: $(cat "$work/program.log")" >&2; exit 1; }
    grep -q '^View=3' "$work/Options.ini" 2>/dev/null ||
        { echo "session-end ($ending): the changed view was not written to Options.ini" >&2; exit 1; }
    echo "session-end: $ending: ended with status $status, the settings written"
done
echo "session-end: passed"
