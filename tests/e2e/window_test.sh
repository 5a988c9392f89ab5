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
echo "window 640x480 'Arcade Game', menu picture exact, Escape -> 0, close -> 0"
