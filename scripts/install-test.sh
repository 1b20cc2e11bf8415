#!/usr/bin/env bash
# The installed game as a player meets it: install the build into a staging root, make that
# read-only, and start the installed program under a virtual X display as an unprivileged
# user, from another directory, with the XDG directories inside a fresh home. Passes when the
# title shows, the first run's pictures land in the cache, a game starts and ends, the name
# entry writes "HiScores.dat" into the data directory and Exit writes "Options.ini" into the
# config directory, with nothing written into the installed tree.
#   bash scripts/install-test.sh [BUILD_DIRECTORY]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/need-tools.sh
need_display_tools
need_tools xdotool import convert
[ "$(id -u)" -ne 0 ] || need_tools useradd runuser

build=$(realpath "${1:-build}")
player=zorbix-install-test
stage=$(mktemp -d)
home=$(mktemp -d)
cleanup() {
    chmod -R u+w "$stage" 2>/dev/null || true
    rm -rf "$stage" "$home"
}
trap cleanup EXIT
fail() { echo "install-test: $*" >&2; exit 1; }

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
program="$stage/usr/games/zorbix"
[ -x "$program" ] || fail "cmake --install put no program at usr/games/zorbix"
[ -f "$stage/usr/share/games/zorbix/Sounds.dxw" ] || fail "no Sounds.dxw in usr/share/games/zorbix"
[ ! -e "$stage/usr/games/Sounds.dxw" ] || fail "the data was installed beside the program"
chmod -R a+rX,a-w "$stage"

# As root, the read-only tree only binds an unprivileged user.
player_account=""
if [ "$(id -u)" -eq 0 ]; then
    id "$player" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$player"
    chown -R "$player:" "$home"
    player_account=$player
fi

# A high-score table whose every row scores below zero, so that a game ending on no points
# is good enough for the name entry; everything else starts absent.
mkdir -p "$home/xdg-data/zorbix" "$home/elsewhere"
for _ in 1 2 3 4 5; do
    head -c 52 /dev/zero
    printf '\377\377\377\377'
    head -c 8 /dev/zero
done >"$home/xdg-data/zorbix/HiScores.dat"
[ "$(id -u)" -ne 0 ] || chown -R "$player:" "$home"

cat >"$home/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
program=$1
home=$2
fail() { echo "install-test: $*" >&2; exit 1; }
source "$home/session-steps.sh"
cd "$home/elsewhere"
log="$home/program.log"
"$program" >"$log" 2>&1 &
pid=$!
find_main_window
xdotool windowfocus --sync "$window"
sleep 3
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$home/title.png"

# Any character key starts a game and goes on from every interlude; never turning the slot,
# the game is lost and the name entry opens.
entry=""
for _ in $(seq 1 240); do
    entry=$(xdotool search --onlyvisible --name '^High Scores$' 2>/dev/null | head -1 || true)
    [ -n "$entry" ] && break
    kill -0 "$pid" 2>/dev/null || fail "the program ended during play: $(cat "$home/program.log")"
    xdotool key --window "$window" a
    sleep 0.5
done
[ -n "$entry" ] || fail "no name entry opened at the end of the game"
sleep 0.5
xdotool windowfocus --sync "$entry"
xdotool key --window "$entry" ctrl+a BackSpace
xdotool type --window "$entry" Installer
xdotool key --window "$entry" Return
sleep 1

xdotool windowfocus --sync "$window"
open_game_menu
exit_from_game_menu
SESSION
chmod a+rx "$home/session.sh"
cp scripts/session-steps.sh "$home/"
chmod a+r "$home/session-steps.sh"

# The display's server runs as the caller (an unprivileged user's server is at the mercy of
# what other users left in /tmp); the player gets a copy of its cookie and nothing else of the
# caller's environment.
cat >"$home/as-player.sh" <<'AS_PLAYER'
#!/usr/bin/env bash
set -euo pipefail
home=$1
program=$2
player=${3:-}
cp "$XAUTHORITY" "$home/Xauthority"
as_player=()
if [ -n "$player" ]; then
    chown "$player:" "$home/Xauthority"
    as_player=(runuser -u "$player" --)
fi
"${as_player[@]}" env -i PATH="$PATH" HOME="$home" LANG=C.UTF-8 DISPLAY="$DISPLAY" XAUTHORITY="$home/Xauthority" \
    XDG_CONFIG_HOME="$home/xdg-config" XDG_DATA_HOME="$home/xdg-data" \
    XDG_CACHE_HOME="$home/xdg-cache" SDL_AUDIODRIVER=dummy \
    ${ASAN_OPTIONS:+ASAN_OPTIONS="$ASAN_OPTIONS"} ${UBSAN_OPTIONS:+UBSAN_OPTIONS="$UBSAN_OPTIONS"} \
    ${LSAN_OPTIONS:+LSAN_OPTIONS="$LSAN_OPTIONS"} \
    bash "$home/session.sh" "$program" "$home"
AS_PLAYER
bash scripts/virtual-display.sh -e "$home/xvfb.log" -s "-screen 0 1024x768x24" -- \
    bash "$home/as-player.sh" "$home" "$program" "$player_account" ||
    fail "the session failed$(sed 's/^/\n  xvfb: /' "$home/xvfb.log" 2>/dev/null)"

colours=$(convert "$home/title.png" -format '%k' info:)
[ "$colours" -gt 500 ] || fail "the title screenshot has only $colours colours"
for picture in logo nag gameover fone field; do
    [ -f "$home/xdg-cache/zorbix/Images/$picture.bmp" ] ||
        fail "the first run did not convert $picture into the cache"
done
[ -f "$home/xdg-config/zorbix/Options.ini" ] || fail "Exit wrote no Options.ini into the config directory"
grep -q '^\[Options\]' "$home/xdg-config/zorbix/Options.ini" || fail "Options.ini has no Options section"
grep -qa Installer "$home/xdg-data/zorbix/HiScores.dat" || fail "the name entry did not reach HiScores.dat"
replay=$(ls "$home"/xdg-data/zorbix/replays/game-*.replay 2>/dev/null | tail -1)
[ -n "$replay" ] || fail "the game was not kept in the data directory's replays/"
verdict=$("$stage/usr/games/zorbix-sim" --verify "$replay") ||
    fail "the installed zorbix-sim does not agree with the kept game: $verdict"
[ -z "$(find "$stage" -newer "$home/session.sh" -print -quit)" ] || fail "the installed tree was written to"
[ ! -e "$home/elsewhere/Options.ini" ] || fail "Options.ini went into the current directory"
echo "install-test: passed"
