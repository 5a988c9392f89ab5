#!/usr/bin/env bash
# The window a player gets: its size and title, the menu picture, and both ways out.
source "$(dirname "$0")/lib.sh"
start_x

start_game
read -r width height < <(xwininfo -id "$WINDOW" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w, h}')
{ [ "$width" = 640 ] && [ "$height" = 480 ]; } || fail "window is ${width}x${height}"
title=$(xdotool getwindowname "$WINDOW")
[ "$title" = "Arcade Game" ] || fail "window title is '$title'"

shot "$WORK/menu.png"
/usr/bin/convert "$PLAY/menu.png" -background black -flatten "$WORK/expected.png"
diff=$(differing_pixels "$WORK/menu.png" "$WORK/expected.png")
[ "$diff" = 0 ] || fail "menu on screen differs from menu.png in $diff pixels"

press Escape
wait_for_exit
[ "$GAME_STATUS" = 0 ] || fail "Escape ended the game with status $GAME_STATUS"

start_game
close_window
wait_for_exit
[ "$GAME_STATUS" = 0 ] || fail "closing the window ended the game with status $GAME_STATUS"

# A stop signal ends it as closing the window does, and so it does while the window opens, when
# the game's start once threw it away. Before the game holds it, it ends the game the usual way.
start_game
kill -TERM "$GAME_PID"
wait_for_exit
[ "$GAME_STATUS" = 0 ] || fail "SIGTERM in the menu ended the game with status $GAME_STATUS"
# The signal goes to the game itself, never to the shell that is about to become it.
is_the_game() { [ "$(readlink "/proc/$GAME_PID/exe")" = "$(readlink -f "$GAME")" ]; }
for delay in 0 0.02 0.05 0.08 0.12; do
    (cd "$PLAY" && exec "$GAME") >"$WORK/game.log" 2>&1 &
    GAME_PID=$!
    wait_until 10 is_the_game || fail "the game did not start"
    sleep "$delay"
    kill -TERM "$GAME_PID"
    wait_for_exit
    case "$GAME_STATUS" in
        0 | 143) ;;
        *) fail "SIGTERM $delay s after the start: status $GAME_STATUS" ;;
    esac
done
echo "window 640x480 'Arcade Game', menu picture exact, Escape -> 0, close -> 0, SIGTERM -> 0"
