#!/usr/bin/env bash
# R on the list proves the best kept game before watching it, and the window keeps its pace: with
# the 223-point game kept, no frame around each R takes more than a frame's time of the processor
# (so that, on a core of its own, none comes late), and the watch has begun. The wall clock's
# pace is said too; on a machine shared with other work it says more of that work than of the
# game. Under the sanitizers, whose proof is several times slower, the watch is only seen to
# begin.
source "$(dirname "$0")/lib.sh"
readonly FRAME_MS=20
readonly PRESSES=3
mkdir -p "$PLAY/replays"
cp "$(dirname "$0")/../replay/whole-game-223.replay" "$PLAY/replays/223 points - Anna.replay"
echo "223 points - Anna" >"$PLAY/highscore.txt"
readonly FLIPS="$WORK/flips"
# The probe is preloaded into the game alone (the sanitizers' runtime then does not come first,
# which is no fault here).
GAME_WRAPPER=(env "ARCADE_FLIP_TIMES=$FLIPS" "LD_PRELOAD=$FLIP_TIMES"
    ASAN_OPTIONS=verify_asan_link_order=0)
start_x
start_game
GAME_WRAPPER=()

# The list's picture above its first line.
readonly LIST_TOP=640x50+0+0
press space
wait_for_screen showscorebg.png 10 "the list" "$LIST_TOP"
expect_picture showscorebg.png "$WORK/list-top.png"
/usr/bin/convert "$WORK/list-top.png" -crop "$LIST_TOP" +repage "$WORK/list-top.png"

# Each press's frames, as lines of the probe's file: from a few before the key to a second after.
windows=()
for press in $(seq "$PRESSES"); do
    before=$(wc -l <"$FLIPS")
    xdotool key r
    sleep 1
    windows+=("$((before - 3)) $(wc -l <"$FLIPS")")
    shows_picture "$WORK/list-top.png" "$LIST_TOP" && fail "R $press: no watch began"
    press Escape
    wait_for_screen showscorebg.png 10 "the list after Escape $press" "$LIST_TOP"
done
press Escape
wait_for_exit
[ "$GAME_STATUS" = 0 ] || fail "the game ended with status $GAME_STATUS"
grep -q "cannot watch" "$WORK/game.log" && fail "the kept game was not watched"

if [ "${SANITIZED:-0}" = 1 ]; then
    echo "a watch began at each of $PRESSES presses of R (pace not measured under the sanitizers)"
    exit 0
fi
for window in "${windows[@]}"; do
    read -r from to <<<"$window"
    # shellcheck disable=SC2016
    awk -v from="$from" -v to="$to" -v frame="$FRAME_MS" '
        NR >= from && NR <= to {
            if (NR > from) {
                if ($1 - last > gap) gap = $1 - last
                if ($2 - used > work) { work = $2 - used; at = NR - from - 3 }
            }
            last = $1; used = $2; flips++
        }
        END {
            printf "%d frames around R: the longest %.1f ms from one flip to the next, the" \
                " dearest %.1f ms of processor time (frame %d after R)\n", flips, gap, work, at
            exit !(flips >= 25 && work <= frame)
        }' "$FLIPS" || fail "a frame took longer than a frame's time while R was pressed"
done
