#!/usr/bin/env bash
# A game in a real window: Enter starts it, the arrows move the cannon, Space fires, a bomb ends
# it, and the typed name shows over the game-over screen.
source "$(dirname "$0")/lib.sh"
start_x
start_game

press Return
wait_for 5 "no cannon on the ground" cannon_shown
start_x_pos=$(cannon_x "$WORK/cannon.png")
hold Left 0.6
press space space space
shot "$WORK/moved.png"
moved_x_pos=$(cannon_x "$WORK/moved.png")
{ [ -n "$moved_x_pos" ] && [ "$moved_x_pos" -lt $((start_x_pos - 20)) ]; } ||
    fail "cannon did not move left: $start_x_pos -> $moved_x_pos"

bullet_colour=$(dominant_colour "$PLAY/bullet.png")
bullets_in_flight() {
    shot "$WORK/moved.png"
    bullets=$(count_colour "$WORK/moved.png" 640x420+0+0 "$bullet_colour")
    [ "$bullets" -gt 0 ]
}
wait_for 3 "no bullet in flight (colour $bullet_colour)" bullets_in_flight

took=$(wait_for_game_over 150)
[ "$(text_pixels 540x40+100+345)" = 0 ] || fail "name overlay drawn before the first key"
xdotool type --delay 120 "Ada"
wait_for 3 "typed name not shown" text_shown 200x40+100+345
[ "$(text_pixels 340x40+300+345)" -gt 0 ] || fail "prompt not shown"
echo "cannon $start_x_pos -> $moved_x_pos, $bullets bullet pixels, game over after ${took}s, name shown"
