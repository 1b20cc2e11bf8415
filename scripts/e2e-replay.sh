#!/usr/bin/env bash
# A whole game played in the real window under a virtual display, keys at random and the
# music switched off and on during play (each switch draws the next track from the generator
# that deals the balls), until a score enters the high-score table. Then: its replay is in
# Replays/ beside the program, zorbix-sim --verify re-plays it to the score in HiScores.dat,
# and `zorbix --replay` watches it in the window to the same score.
#   bash scripts/e2e-replay.sh [PROGRAM_DIRECTORY]   (default: build/bin)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/need-tools.sh
need_display_tools
need_tools xdotool od

program_dir=$(realpath "${1:-build/bin}")
work=$(mktemp -d)
# A second try: the game's last writes at close can still land while the folder goes, and a
# failed removal would fail the test.
trap '[ -n "${E2E_KEEP:-}" ] || rm -rf "$work" 2>/dev/null || { sleep 1; rm -rf "$work"; }' EXIT
cp -r "$program_dir/zorbix" "$program_dir/zorbix-sim" "$program_dir/Images" \
    "$program_dir/Sounds.dxw" "$work/"
cp "$program_dir"/theme*.mid "$work/" 2>/dev/null || true
cp scripts/session-steps.sh "$work/"
# Easy: balls come only from the left and the right, so random turns catch often enough
# that a game soon ends in the table.
printf '[Options]\nView=0\nDificulty=0\nSounds=1\nMusic=1\n' >"$work/Options.ini"

cat >"$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
work=$1
fail() { echo "e2e-replay: $*" >&2; exit 1; }
source "$work/session-steps.sh"
cd "$work"

kept() { ls Replays/game-*.replay 2>/dev/null | wc -l; }
# Not while the name is asked for: the menu bar is out of reach behind that dialog, which
# can also come between the look for it and the menu's key.
name_asked() { xdotool search --onlyvisible --name '^High Scores$' >/dev/null 2>&1; }
switch_music() {
    name_asked && return 0
    if menu_opens o; then
        choose_in_open_menu Up Return
    else
        name_asked || fail "the menu alt+o did not open ($(screen_state))"
    fi
}

log="$work/program.log"
SDL_AUDIODRIVER=dummy ./zorbix --reference >"$log" 2>&1 &
pid=$!
warning_wait=0
find_main_window
xdotool windowfocus --sync "$window"
sleep 2

entered=""
for game in 1 2 3 4 5 6; do
    before=$(kept)
    xdotool key --window "$window" x      # from the title (or the game-over picture)
    sleep 0.3
    [ "$game" -eq 1 ] || xdotool key --window "$window" x
    for step in $(seq 1 1200); do
        case $((RANDOM % 3)) in
            0) xdotool key --window "$window" Left ;;
            1) xdotool key --window "$window" Right ;;
            2) xdotool key --window "$window" x ;;  # leaves the interlude
        esac
        # Every tenth step, each switch a draw: a game that starts only after a few steps (the
        # game-over picture may not take the first key) or ends within a minute on a busy
        # machine still sees one.
        [ $((step % 10)) -eq 5 ] && switch_music
        dialog=$(xdotool search --onlyvisible --name '^High Scores$' 2>/dev/null | head -1 || true)
        if [ -n "$dialog" ]; then
            xdotool windowfocus --sync "$dialog"
            xdotool key ctrl+a                # a key sent at random may be in the box
            xdotool type --delay 50 "Tester"
            xdotool key Return
            entered=1
        fi
        [ "$(kept)" -gt "$before" ] && break
        sleep 0.2
    done
    [ -n "$entered" ] && break
done
[ -n "$entered" ] || fail "no game entered the table in six games"
sleep 1
[ -z "${E2E_SHOTS:-}" ] || import -window root "$E2E_SHOTS/replay-end.png"
xdotool windowfocus --sync "$window"
open_game_menu
exit_from_game_menu
SESSION

fail() { echo "e2e-replay: $*" >&2; exit 1; }
bash scripts/virtual-display.sh -s "-screen 0 1024x768x24" -- bash "$work/session.sh" "$work"

replay=$(ls "$work"/Replays/game-*.replay | tail -1)
[ -f "$work/HiScores.dat" ] || fail "no HiScores.dat was written"
# The row named Tester: name length at byte 0 of each 64-byte row, the score at byte 52.
table_score=""
for row in 0 1 2 3 4; do
    name=$(dd if="$work/HiScores.dat" bs=1 skip=$((row * 64 + 1)) count=6 2>/dev/null)
    if [ "$name" = Tester ]; then
        table_score=$(od -An -t d4 -j $((row * 64 + 52)) -N 4 "$work/HiScores.dat" | tr -d ' ')
    fi
done
[ -n "$table_score" ] || fail "no row of HiScores.dat is named Tester"
echo "e2e-replay: the table holds $table_score; the replay: $(wc -c <"$replay") bytes, $(grep -c '^frame' "$replay") frames, $(grep -c '^seed' "$replay") generator states"
grep -q '^# name Tester (easy)$' "$replay" || fail "the replay is not the named game: $(head -6 "$replay")"
[ "$(grep -c '^seed' "$replay")" -ge 2 ] || fail "the music's draws are not in the replay"

verdict=$("$work/zorbix-sim" --verify "$replay") || fail "zorbix-sim --verify refused it: $verdict"
echo "e2e-replay: $verdict"
case "$verdict" in
    *"\"recorded\":$table_score,\"replayed\":$table_score,"*) ;;
    *) fail "the re-played score is not the table's $table_score: $verdict" ;;
esac

# Watched in the window: it prints the score it came to when it ends.
cat >"$work/watch.sh" <<'WATCH'
#!/usr/bin/env bash
set -uo pipefail
work=$1
replay=$2
fail() { echo "e2e-replay: $*" >&2; exit 1; }
source "$work/session-steps.sh"
cd "$work"
log="$work/watch.log"
SDL_AUDIODRIVER=dummy ./zorbix --reference --replay "$replay" >"$log" 2>&1 &
pid=$!
warning_wait=0
find_main_window
for _ in $(seq 1 1500); do
    grep -q "came to" "$log" && break
    kill -0 "$pid" 2>/dev/null || fail "the program ended while watching: $(cat "$log")"
    sleep 0.2
done
grep -q "came to" "$log" || fail "the replay did not end in 300 s: $(cat "$log")"
xdotool windowfocus --sync "$window"
open_game_menu
exit_from_game_menu
WATCH
bash scripts/virtual-display.sh -s "-screen 0 1024x768x24" -- bash "$work/watch.sh" "$work" "$replay"
watched=$(grep -o 'came to [0-9-]*' "$work/watch.log" | grep -o '[0-9-]*$')
echo "e2e-replay: watched, the replay came to $watched"
[ "$watched" = "$table_score" ] || fail "watched, the replay came to $watched, not $table_score"
echo "e2e-replay: passed"
