#!/usr/bin/env bash
# Soak test of the real program (not part of the test command): the game on the software
# reference device under a virtual X display, kept in play by a scripted player for a fixed
# time (default 30 minutes): it starts games, turns the slot at random, goes on from the
# interlude and game-over pictures, and enters a name whenever the "High Scores" dialog asks
# for one. Every 30 s the resident memory (VmRSS) and the open descriptors of the program are
# written to a CSV file. At the end the program leaves through Game, Exit.
#   bash scripts/soak.sh [MINUTES] [PROGRAM_DIRECTORY]   (defaults: 30, build/bin)
# The environment may set SOAK_MINUTES, SOAK_SAMPLE_SECONDS (30), SOAK_WARMUP_MINUTES (the
# first 3 minutes, or a third of a shorter soak) and SOAK_CSV (build/soak/soak.csv).
#
# Fails when the program ends early, does not leave cleanly, or memory is not flat after the
# warm-up: taking the samples from the end of the warm-up on, the last resident size may not
# exceed the first by more than 4 MiB, nor may the least-squares line through them rise by
# more than 4 MiB over that time; the open descriptors may never exceed their count at the
# end of the warm-up by more than 2.
set -euo pipefail
cd "$(dirname "$0")/.."

minutes="${1:-${SOAK_MINUTES:-30}}"
program_dir=$(realpath "${2:-build/bin}")
sample_seconds="${SOAK_SAMPLE_SECONDS:-30}"
warmup_minutes="${SOAK_WARMUP_MINUTES:-$(awk -v m="$minutes" 'BEGIN { print (m >= 9 ? 3 : m / 3) }')}"
csv=$(realpath -m "${SOAK_CSV:-build/soak/soak.csv}")
mkdir -p "$(dirname "$csv")"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$program_dir/zorbix" "$program_dir/Images" "$program_dir/Sounds.dxw" "$work/"
cp "$program_dir"/theme*.mid "$work/" 2>/dev/null || true
cp scripts/session-steps.sh "$work/"

cat >"$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
work=$1 minutes=$2 sample_seconds=$3 csv=$4
fail() { echo "soak: $*" >&2; exit 1; }

source "$work/session-steps.sh"

cd "$work"
log="$work/program.log"
ZORBIX_DEVICE=reference SDL_AUDIODRIVER=dummy ./zorbix --reference >"$log" 2>&1 &
pid=$!
find_main_window
sleep 3

rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status"; }
descriptors() { find "/proc/$pid/fd" -mindepth 1 -maxdepth 1 | wc -l; }

names=0
start=$SECONDS
end=$((start + minutes * 60))
next_sample=$start
echo "seconds,rss_kib,descriptors,names_entered" >"$csv"
while [ "$SECONDS" -lt "$end" ]; do
    kill -0 "$pid" 2>/dev/null || fail "the program ended after $((SECONDS - start)) s: $(cat "$work/program.log")"
    if [ "$SECONDS" -ge "$next_sample" ]; then
        echo "$((SECONDS - start)),$(rss_kib),$(descriptors),$names" >>"$csv"
        next_sample=$((next_sample + sample_seconds))
    fi
    # A new high score opens the name entry with the name box focused: type, press Enter.
    dialog=$(xdotool search --onlyvisible --name '^High Scores$' 2>/dev/null | head -1 || true)
    if [ -n "$dialog" ]; then
        xdotool windowfocus --sync "$dialog" 2>/dev/null || true
        xdotool type --delay 20 "soak $names" 2>/dev/null || true
        xdotool key Return 2>/dev/null || true
        names=$((names + 1))
        sleep 0.5
        continue
    fi
    # "a" starts a game on the title picture and goes on from the interlude and game-over
    # pictures; while playing it does nothing. The slot turns now and then, at random.
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    xdotool key --window "$window" a 2>/dev/null || true
    for _ in 1 2 3; do
        case $((RANDOM % 3)) in
        0) xdotool key --window "$window" Left 2>/dev/null || true ;;
        1) xdotool key --window "$window" Right 2>/dev/null || true ;;
        *) ;;
        esac
        sleep 0.2
    done
done
echo "$((SECONDS - start)),$(rss_kib),$(descriptors),$names" >>"$csv"

# Leave as a player would: Game menu, Exit.
xdotool windowfocus --sync "$window" 2>/dev/null || true
open_game_menu
exit_from_game_menu
[ "$names" -gt 0 ] || fail "no game reached the name entry"
SESSION

bash scripts/virtual-display.sh -s "-screen 0 1024x768x24" -- bash "$work/session.sh" "$work" "$minutes" \
    "$sample_seconds" "$csv"

cat "$csv"
awk -F, -v warmup="$(awk -v m="$warmup_minutes" 'BEGIN { print m * 60 }')" '
    NR == 1 { next }
    $1 >= warmup {
        if (n == 0) { rss0 = $2; fds0 = $3 }
        n++; x[n] = $1; y[n] = $2; last = $2
        if ($3 > fds0 + 2) { fds_grew = $3 }
    }
    END {
        if (n < 2) { print "soak: too few samples after the warm-up"; exit 1 }
        for (i = 1; i <= n; i++) { sx += x[i]; sy += y[i] }
        mx = sx / n; my = sy / n
        for (i = 1; i <= n; i++) { sxy += (x[i] - mx) * (y[i] - my); sxx += (x[i] - mx) ^ 2 }
        rise = sxx > 0 ? sxy / sxx * (x[n] - x[1]) : 0
        printf "soak: after the warm-up %d samples, resident %d KiB first, %d KiB last, trend %+.0f KiB, descriptors %d\n", n, rss0, last, rise, fds0
        if (last - rss0 > 4096) { print "soak: resident memory grew by more than 4 MiB"; exit 1 }
        if (rise > 4096) { print "soak: resident memory trends upwards by more than 4 MiB"; exit 1 }
        if (fds_grew) { print "soak: open descriptors grew to " fds_grew; exit 1 }
        print "soak: passed"
    }' "$csv"
