#!/usr/bin/env bash
# End-to-end smoke test of the real program under a virtual X display: start it, start a
# game, turn the slot, pause and resume, take screenshots, and leave through the Game menu.
# Passes when the screenshots show the scene and the program ended cleanly having written
# "Options.ini" beside itself. It runs twice: as a player starts it (on a machine without 3D
# hardware, after the warning, on the software renderer) and with OpenGL asked for.
#   bash scripts/e2e.sh [PROGRAM_DIRECTORY]   (default: build/bin)
# The screenshots are kept in $E2E_SHOTS when that names a directory.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/need-tools.sh
need_display_tools
need_tools xdotool import convert compare

program_dir=$(realpath "${1:-build/bin}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$program_dir/zorbix" "$program_dir/Images" "$program_dir/Sounds.dxw" "$work/"
cp "$program_dir"/theme*.mid "$work/" 2>/dev/null || true
cp scripts/session-steps.sh "$work/"

cat >"$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
work=$1
shift
fail() { echo "e2e: $*" >&2; exit 1; }

source "$work/session-steps.sh"

cd "$work"
log="$work/program.log"
SDL_AUDIODRIVER=dummy ./zorbix "$@" >"$log" 2>&1 &
pid=$!
find_main_window
xdotool windowfocus --sync "$window"
sleep 3

eval "$(xdotool getwindowgeometry --shell "$window")"
shot() { import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/$1.png"; }

shot title
xdotool key --window "$window" a        # any character key starts a game
sleep 1
xdotool key --window "$window" Left
sleep 0.5
xdotool key --window "$window" Right
sleep 1.5
shot playing
xdotool key --window "$window" Escape   # pause
sleep 1
shot paused
xdotool key --window "$window" space    # any key resumes
sleep 1
shot resumed

# Leave as a player would: Game menu, Exit.
open_game_menu
shot menu
exit_from_game_menu
SESSION

fail() { echo "e2e: $*" >&2; exit 1; }
# A drawn scene has many colours and strong contrast; a blank or stuck window has neither.
check_shots() {
    local shot colours spread
    for shot in title playing paused resumed; do
        colours=$(convert "$work/$shot.png" -format '%k' info:)
        spread=$(convert "$work/$shot.png" -colorspace Gray -format '%[fx:int(1000*standard_deviation)]' info:)
        echo "e2e ($1): $shot: $colours colours, spread $spread"
        [ "$colours" -gt 500 ] || fail "$1: the $shot screenshot has only $colours colours"
        [ "$spread" -gt 50 ] || fail "$1: the $shot screenshot is nearly uniform"
    done
    # The picture fills the window: the middle, where the loading display was, is drawn too.
    colours=$(convert "$work/title.png" -gravity center -crop 50%x50%+0+0 +repage -format '%k' info:)
    [ "$colours" -gt 500 ] || fail "$1: the middle of the title screenshot is not drawn"
    # The game scene is not the title picture, and the pause banner changes the picture.
    difference() { compare -metric AE -fuzz 5% "$work/$1.png" "$work/$2.png" null: 2>&1 || true; }
    [ "$(difference title playing)" -gt 10000 ] || fail "$1: starting a game did not change the picture"
    [ "$(difference playing paused)" -gt 1000 ] || fail "$1: pausing did not change the picture"
    for shot in title playing paused resumed menu; do mv "$work/$shot.png" "$work/$1-$shot.png"; done
}

for run in default hardware; do
    switches=()
    [ "$run" = default ] || switches=(--device hardware)
    rm -f "$work/Options.ini"
    bash scripts/virtual-display.sh -s "-screen 0 1024x768x24" -- bash "$work/session.sh" "$work" "${switches[@]}"
    [ -f "$work/Options.ini" ] || fail "$run: no Options.ini was written beside the program"
    check_shots "$run"
done

if [ -n "${E2E_SHOTS:-}" ] && [ -d "$E2E_SHOTS" ]; then
    cp "$work"/*.png "$E2E_SHOTS/"
fi
echo "e2e: passed"
