# The steps the scripts that drive the real game under a virtual display share, sourced by
# their session scripts. The caller defines fail() and sets $pid (the game's process) and
# $log (its output).

# Waits up to 30 s for the main window and sets $window. A machine without 3D hardware answers
# the hardware warning on the way and goes on with the reference device; the warning comes
# once the main window shows, so that is watched for another $warning_wait seconds (5 unless
# the caller sets it; 0 where the device is named and no warning can come).
find_main_window() {
    window=""
    local warning answered="" waited=0
    for _ in $(seq 1 150); do
        warning=$(xdotool search --onlyvisible --name '^Warning\.$' 2>/dev/null | head -1 || true)
        if [ -n "$warning" ]; then
            xdotool windowfocus --sync "$warning" key Return || true
            answered=1
        fi
        [ -n "$window" ] || window=$(xdotool search --onlyvisible --name '^Zorbix Freeware$' 2>/dev/null | head -1 || true)
        if [ -n "$window" ]; then
            [ -n "$answered" ] && [ -z "$warning" ] && return 0
            [ "$waited" -ge $((${warning_wait:-5} * 5)) ] && return 0
            waited=$((waited + 1))
        fi
        kill -0 "$pid" 2>/dev/null || fail "the program ended at start-up: $(cat "$log")"
        sleep 0.2
    done
    fail "no main window appeared"
}

# A menu's popup is a window of the program's class with no title of its own (only the
# newer, wide-character name, which xdotool's --name does not read). Keys sent before it
# shows go to the game instead (a busy machine can take longer than xdotool's pause between
# keys), so each step waits for the popup to come or go.
menu_is_open() {
    local titled
    titled=$(xdotool search --onlyvisible --name '.' 2>/dev/null || true)
    xdotool search --onlyvisible --classname '^zorbix$' 2>/dev/null | grep -qvxF "${titled:-none}"
}

# Tries to open the menu whose mnemonic is $1 (g for Game, o for Options) within 10 s. A
# mnemonic only reaches an active window, and without a window manager a closing dialog can
# leave the focus elsewhere, so each further try gives the main window the focus first.
menu_opens() {
    local try
    for try in 1 2 3 4; do
        [ "$try" -eq 1 ] || timeout 5 xdotool windowfocus --sync "$window" 2>/dev/null || true
        xdotool key --window "$window" "alt+$1"
        for _ in $(seq 1 25); do
            if menu_is_open; then
                [ "$try" -eq 1 ] || echo "session: the menu alt+$1 opened on try $try" >&2
                return 0
            fi
            sleep 0.1
        done
    done
    return 1
}

# What a failed step saw: the titled windows on screen and the one with the focus.
screen_state() {
    local id names=""
    for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
        names="$names \"$(xdotool getwindowname "$id" 2>/dev/null)\""
    done
    echo "on screen:${names:- nothing titled}; focus: $(xdotool getwindowfocus getwindowname 2>/dev/null || echo none)"
}

open_menu() {
    menu_opens "$1" || fail "the menu alt+$1 did not open ($(screen_state))"
}

# Sends the keys to the open menu and waits for it to close.
choose_in_open_menu() {
    xdotool key "$@"
    for _ in $(seq 1 50); do
        menu_is_open || return 0
        sleep 0.1
    done
    fail "the menu did not close after $*"
}

open_game_menu() {
    open_menu g
}

# Chooses Exit in the open Game menu and waits up to 10 s for a clean end.
exit_from_game_menu() {
    xdotool key --window "$window" e
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        fail "the program did not end after Game, Exit"
    fi
    wait "$pid" || fail "the program ended with status $?: $(cat "$log")"
}
