#!/usr/bin/env bash
# The real game as a native Wayland client, as a Wayland desktop runs it: weston (its X11 back
# end, on a virtual X display of its own) with Qt's wayland platform, once per device. Each run
# checks that the title is drawn before the window has the keyboard, that a key starts a game
# that moves, that weston's maximise and F11 leave it running with the square picture centred
# and black beside it, and that a dialog opens and closes.
#   bash scripts/wayland-window.sh [PROGRAM_DIRECTORY] [DEVICE...]   (defaults: build/bin reference hardware)
# The screenshots are kept in $WAYLAND_SHOTS when that names a directory.
set -euo pipefail
cd "$(dirname "$0")/.."

program_dir=$(realpath "${1:-build/bin}")
shift || true
devices=("${@:-reference}")
[ "$#" -gt 0 ] || devices=(reference hardware)
source scripts/need-tools.sh
need_display_tools
need_tools weston xdotool xwininfo import convert compare pkill qtpaths6
if ! [ -e "$(qtpaths6 --plugin-dir)/platforms/libqwayland-generic.so" ]; then
    echo "wayland-window: skipped: Qt's wayland platform (qt6-wayland) is not installed"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$program_dir/zorbix" "$program_dir/Images" "$program_dir/Sounds.dxw" "$work/"

cat >"$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
work=$1
device=$2
socket=$3
fail() {
    echo "wayland-window ($device): $*" >&2
    cat "$work/program.log" >&2
    [ -z "${WAYLAND_SHOTS:-}" ] || cp "$work"/*.png "$WAYLAND_SHOTS/" 2>/dev/null
    exit 1
}
# Waits up to about fifteen seconds for a condition.
poll() { for _ in $(seq 1 150); do eval "$1" && return 0; sleep 0.1; done; return 1; }

export XDG_RUNTIME_DIR="$work/runtime-$device"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
# The output is as large as the X screen, so the screenshots of the X screen show all of it.
weston --backend=x11-backend.so --use-pixman --width=1024 --height=768 --socket="$socket" \
    --no-config --idle-time=0 >"$work/weston.log" 2>&1 &
weston_pid=$!
pid=""
# Weston outlives the X server it draws on, spinning, so nothing is left behind on any exit.
trap 'kill $pid $weston_pid 2>/dev/null; wait $weston_pid 2>/dev/null' EXIT
poll '[ -S "$XDG_RUNTIME_DIR/$socket" ]' || fail "weston did not start"
output=""
# Weston's output is the X window named after it.
poll 'output=$(xwininfo -root -tree | awk "/\"Weston Compositor/ {print \$1; exit}"); [ -n "$output" ]' ||
    fail "weston's output window did not appear"

# The desktop as it is before the game, once weston's shell has drawn it, to tell the game's
# window from it. The panel at the top (with its clock) is left out of every comparison.
desktop() {
    import -window "$output" "$work/desktop-new.png" 2>/dev/null &&
        [ "$(convert "$work/desktop-new.png" -format '%k' info:)" -gt 100 ] &&
        [ -f "$work/desktop.png" ] &&
        [ "$(compare -metric AE "$work/desktop.png" "$work/desktop-new.png" null: 2>&1)" = 0 ]
    local settled=$?
    mv "$work/desktop-new.png" "$work/desktop.png"
    return $settled
}
poll desktop || fail "weston's desktop was not drawn"
# The keyboard stays outside weston (the X focus on the root window) until the title is
# drawn, so the game's window starts without it.
xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')"
(cd "$work" && exec env WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland SDL_AUDIODRIVER=dummy \
    HOME="$work" ./zorbix --device "$device" >"$work/program.log" 2>&1) &
pid=$!

shot() { import -window "$output" "$work/$device-$1.png" 2>/dev/null; }
# The colours of what is not the desktop: a drawn picture has many, an empty window few.
colours() {
    convert "$work/$device-$1.png" \( "$work/$device-$1.png" "$work/desktop.png" -compose difference \
        -composite -threshold 0 \) -compose multiply -composite -crop +0+40 -format '%k' info:
}
drawn() { shot "$1" && [ "$(colours "$1")" -gt 500 ]; }
alive() { kill -0 "$pid" 2>/dev/null || fail "the program ended: $(cat "$work/program.log")"; }

poll 'drawn title' || fail "the title was not drawn while the window lacked the keyboard"
alive
# The keyboard comes back to weston, and weston's window switch (its only window) gives it to
# the game.
xdotool windowfocus --sync "$output" 2>/dev/null || true
# Weston hands the keyboard over a little after the switch; a game that started moves.
started() {
    xdotool key super+Tab
    sleep 0.5
    xdotool key a # any character key starts a game
    sleep 1
    shot play1
    sleep 0.7
    shot play2
    alive
    moved=$(compare -metric AE -fuzz 3% "$work/$device-play1.png" "$work/$device-play2.png" null: 2>&1 || true)
    [ "${moved%% *}" -gt 200 ]
}
started || started || started || fail "the game did not move: $moved pixels changed"
changed=$(compare -metric AE -fuzz 5% "$work/$device-title.png" "$work/$device-play1.png" null: 2>&1 || true)
[ "${changed%% *}" -gt 10000 ] || fail "a key did not start a game"

# The picture is square and centred: the margins left and right of it are black, the middle
# of the screen is drawn. Weston's panel takes the top of the output.
centred() {
    shot "$1" || return 1
    local left right middle
    left=$(convert "$work/$device-$1.png" -crop 50x400+10+200 +repage -format '%[fx:int(255*maxima)]' info:)
    right=$(convert "$work/$device-$1.png" -crop 50x400+960+200 +repage -format '%[fx:int(255*maxima)]' info:)
    middle=$(convert "$work/$device-$1.png" -crop 400x400+312+200 +repage -format '%k' info:)
    [ "$left" -eq 0 ] && [ "$right" -eq 0 ] && [ "$middle" -gt 500 ]
}
xdotool key super+shift+m   # weston's maximise
poll 'centred maximised' || fail "maximised, the picture is not centred with black beside it"
alive
xdotool key super+shift+m
sleep 1
xdotool key F11
poll 'centred fullscreen' || fail "full screen, the picture is not centred with black beside it"
alive
xdotool key F11
sleep 1
alive

# A dialog: the High Scores box from the Game menu, closed again with Escape.
xdotool key alt+g
sleep 0.5
xdotool key h
sleep 1
shot dialog
xdotool key Escape
sleep 1
shot closed
alive
opened=$(compare -metric AE -fuzz 5% "$work/$device-play2.png" "$work/$device-dialog.png" null: 2>&1 || true)
[ "${opened%% *}" -gt 2000 ] || fail "the High Scores dialog did not open"

echo "wayland-window: $device: title without the keyboard, a moving game, maximised and full screen centred, a dialog"
SESSION

for device in "${devices[@]}"; do
    # A session killed from outside leaves weston spinning: whatever has its socket goes after.
    socket="zorbix-test-$$-$device"
    status=0
    bash scripts/virtual-display.sh -s "-screen 0 1024x768x24" -- bash "$work/session.sh" "$work" "$device" "$socket" ||
        status=$?
    pkill -f -- "--socket=$socket" 2>/dev/null || true
    [ "$status" -eq 0 ] || exit "$status"
done
if [ -n "${WAYLAND_SHOTS:-}" ] && [ -d "$WAYLAND_SHOTS" ]; then
    cp "$work"/*.png "$WAYLAND_SHOTS/"
fi
echo "wayland-window: passed"
