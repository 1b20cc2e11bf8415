#!/usr/bin/env bash
# The main window as a desktop player meets it, under a virtual X display (1280x1024):
#  - with no window manager, the window activates itself and reaches the title picture;
#  - under a window manager, dragging the frame's edges and corner with the pointer leaves the
#    client area below the menu square, its height deciding, with the window in its place;
#  - F11 fills the screen (menu kept, picture square and centred, black beside it) and a
#    second F11 brings the square window back.
#   bash scripts/wm-window.sh [PROGRAM_DIRECTORY] [WINDOW_MANAGER...]   (defaults: build/bin openbox)
# Each window manager named is driven in turn.
set -euo pipefail
cd "$(dirname "$0")/.."

program_dir=$(realpath "${1:-build/bin}")
shift || true
wms=("${@:-openbox}")
source scripts/need-tools.sh
need_display_tools
need_tools xdotool xwininfo xprop import convert "${wms[@]}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$program_dir/zorbix" "$program_dir/Images" "$program_dir/Sounds.dxw" "$work/"

cat >"$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
work=$1
wm=$2
fail() { echo "wm-window: $*" >&2; exit 1; }
# Waits up to about ten seconds for a condition.
poll() { for _ in $(seq 1 100); do eval "$1" && return 0; sleep 0.1; done; return 1; }

# Client geometry of the window: X Y W H (the window without its frame).
geometry() {
    xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
        /^  Width:/{w=$2} /^  Height:/{h=$2} END{print x, y, w, h}'
}
start_game() {
    (cd "$work" && exec env SDL_AUDIODRIVER=dummy ZORBIX_DEVICE=reference ./zorbix >"$work/program.log" 2>&1) &
    pid=$!
    window=""
    poll 'window=$(xdotool search --onlyvisible --name "^Zorbix Freeware$" 2>/dev/null | head -1); [ -n "$window" ]' ||
        fail "no main window appeared: $(cat "$work/program.log")"
}
stop_game() { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true; }
# Whether the window shows a drawn picture (many colours) rather than the loading display.
drawn() {
    read -r x y w h <<<"$(geometry "$window")"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$work/shot.png" 2>/dev/null &&
        [ "$(convert "$work/shot.png" -format '%k' info:)" -gt 500 ]
}

# No window manager: nothing but the program itself can activate its window.
if [ "$wm" = none ]; then
    start_game
    poll drawn || fail "without a window manager the window never left the loading display"
    stop_game
    echo "wm-window: activated itself without a window manager"
    exit 0
fi

"$wm" >"$work/wm.log" 2>&1 &
wm_pid=$!
# The window manager owns the screen once it has taken the selection of its manager.
poll '[ -n "$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep "window id")" ]' ||
    fail "$wm did not start: $(cat "$work/wm.log")"
start_game
# Decorated: the window manager has reparented the window and announced its frame.
poll '[ -n "$(xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null | grep =)" ]' ||
    fail "$wm did not decorate the window"
poll drawn || fail "the title picture did not appear under $wm"
read -r _ _ width height <<<"$(geometry "$window")"
menu=$((height - width))
[ "$menu" -gt 0 ] || fail "the window did not start square below its menu: ${width}x${height}"
read -r left right top bottom <<<"$(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,/ /g')"

# Drags one point of the frame by (dx, dy) in steps, as a hand would.
drag() {
    # The frame must see the pointer arrive before the press, or it takes no drag.
    xdotool mousemove "$1" "$2"
    sleep 0.2
    xdotool mousedown 1
    sleep 0.2
    for step in 1 2 3 4; do
        xdotool mousemove $(($1 + $3 * step / 4)) $(($2 + $4 * step / 4))
        sleep 0.2
    done
    xdotool mouseup 1
}
square() { local sw sh; read -r _ _ sw sh <<<"$(geometry "$window")"; [ $((sh - sw)) -eq "$menu" ]; }
# One drag: the name, which point of the frame, the move; then the checks.
check_drag() {
    local name=$1 point=$2 dx=$3 dy=$4 x y w h px py
    read -r x y w h <<<"$(geometry "$window")"
    case $point in
    right) px=$((x + w + right - 1)); py=$((y + h / 2)) ;;
    left) px=$((x - left)); py=$((y + h / 2)) ;;
    bottom) px=$((x + w / 3)); py=$((y + h + bottom / 2)) ;;
    corner) px=$((x + w + right - 1)); py=$((y + h + bottom - 1)) ;;
    esac
    drag "$px" "$py" "$dx" "$dy"
    # The window manager's last word comes a little after the release.
    sleep 0.3
    poll square || fail "$name: the client area is not square below the menu: $(geometry "$window")"
    local nx ny nw nh
    read -r nx ny nw nh <<<"$(geometry "$window")"
    [ "$ny" -eq "$y" ] || fail "$name: the window jumped from y $y to $ny"
    [ "$point" = left ] || [ "$nx" -eq "$x" ] || fail "$name: the window jumped from x $x to $nx"
    case $point in
    right | left) [ "$nh" -eq "$h" ] || fail "$name: the height changed from $h to $nh" ;;
    *) [ $((nh - h)) -eq "$dy" ] || fail "$name: the height went from $h to $nh, not by $dy" ;;
    esac
    echo "wm-window: $name: ${w}x${h} -> ${nw}x${nh} at $nx,$ny"
    poll drawn || fail "$name: the window shows no picture afterwards"
}
check_drag "right edge wider" right 150 0
check_drag "right edge narrower" right -120 0
check_drag "bottom edge taller" bottom 0 100
check_drag "bottom edge shorter" bottom 0 -150
check_drag "corner wider and taller" corner 130 60
check_drag "left edge wider" left -90 0

# F11: the whole screen, then the square window again.
read -r _ _ w h <<<"$(geometry "$window")"
xdotool windowfocus --sync "$window" key --window "$window" F11
poll 'read -r _ _ fw fh <<<"$(geometry "$window")"; [ "$fw" -eq 1280 ] && [ "$fh" -eq 1024 ]' ||
    fail "F11 did not fill the screen: $(geometry "$window")"
sleep 0.5
import -window root "$work/full.png"
# Beside the square picture the screen is black; the picture itself is drawn.
edge=$(convert "$work/full.png" -crop 60x600+0+300 +repage -format '%[fx:int(255*maxima)]' info:)
middle=$(convert "$work/full.png" -crop 600x600+340+300 +repage -format '%k' info:)
[ "$edge" -eq 0 ] || fail "full screen: the margin beside the picture is not black"
[ "$middle" -gt 500 ] || fail "full screen: no picture in the middle of the screen"
xdotool key --window "$window" F11
poll 'read -r _ _ nw nh <<<"$(geometry "$window")"; [ "$nw" -eq "$w" ] && [ "$nh" -eq "$h" ]' ||
    fail "a second F11 did not bring back the ${w}x${h} window: $(geometry "$window")"
echo "wm-window: F11 filled the screen and gave back the ${w}x${h} window"
stop_game
kill "$wm_pid" 2>/dev/null
SESSION

# Each on a display of its own, so nothing of one run is left for the next.
bash scripts/virtual-display.sh -s "-screen 0 1280x1024x24" -- bash "$work/session.sh" "$work" none
for wm in "${wms[@]}"; do
    bash scripts/virtual-display.sh -s "-screen 0 1280x1024x24" -- bash "$work/session.sh" "$work" "$wm"
    echo "wm-window: passed under $wm"
done
