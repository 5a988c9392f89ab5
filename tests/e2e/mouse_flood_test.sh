#!/usr/bin/env bash
# A moving mouse never delays the keys: after hundreds of pointer moves over the window, Space
# fires at once. The bullet's height tells how many frames it has flown, so the screenshot dates
# the shot. With key releases kept out of the queue too, a released arrow must still stop the
# cannon.
source "$(dirname "$0")/lib.sh"
start_x
start_game

readonly MOVES=${MOVES:-300}
readonly BULLET_START_Y=420  # where a bullet from the cannon's first place begins
readonly FRAME_MS=20
readonly LONGEST_DELAY_MS=300

press Return
wait_for 5 "no play after Return" cannon_shown
bullet_colour=$(dominant_colour "$PLAY/bullet.png")

# One xdotool call, so the moves reach the X server back to back.
moves=()
for i in $(seq "$MOVES"); do
    moves+=(mousemove $((100 + 3 * (i % 2) * 100)) $((100 + (i % 3) * 80)))
done
xdotool "${moves[@]}" mousemove 320 240
xdotool key space
pressed=$(date +%s%3N)

# Topmost row of bullet colour above the cannon, or nothing.
bullet_top() {
    /usr/bin/convert "$1" -crop 40x430+293+0 +repage -fill black +opaque "rgb($bullet_colour)" \
        -fill white -opaque "rgb($bullet_colour)" -format '%@' info: 2>/dev/null |
        awk -F'+' '$1 != "0x0" {print $3}'
}

top=""
for _ in $(seq 100); do
    taken=$(date +%s%3N)
    shot "$WORK/flight.png"
    top=$(bullet_top "$WORK/flight.png")
    [ -n "$top" ] && break
    sleep 0.05
done
[ -n "$top" ] || fail "no bullet after Space behind $MOVES mouse moves"
flown=$(((BULLET_START_Y - top) / 4))
delay=$((taken - pressed - flown * FRAME_MS))
[ "$delay" -lt 0 ] && delay=0
echo "Space behind $MOVES mouse moves fired after about ${delay} ms ($((delay / FRAME_MS)) frames)"
[ "$delay" -le "$LONGEST_DELAY_MS" ] || fail "Space fired ${delay} ms late"

# The release is given a few frames to be taken; a cannon still moving after that is the fault.
hold Left 0.4
sleep 0.2
shot "$WORK/released.png"
sleep 0.5
shot "$WORK/later.png"
released_x=$(cannon_x "$WORK/released.png")
later_x=$(cannon_x "$WORK/later.png")
{ [ -n "$released_x" ] && [ "$released_x" = "$later_x" ]; } ||
    fail "the cannon went on after the arrow was let go: $released_x -> $later_x"
echo "cannon stands at $released_x after the arrow was let go"
