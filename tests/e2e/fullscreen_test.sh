#!/usr/bin/env bash
# Full screen on F11 and Alt+Return: whether or not the X server can switch, the game runs on,
# Alt+Return is never taken for Return, and play goes on in the window it comes back to.
source "$(dirname "$0")/lib.sh"
start_x
start_game

alive() { kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended after $1"; }

press F11
sleep 0.4
alive "F11 on the menu"
import -display "$DISPLAY" -window root "$WORK/full.png"
press F11
sleep 0.4
press alt+Return
sleep 0.4
alive "Alt+Return on the menu"
press alt+Return
sleep 0.4

shot "$WORK/menu.png"
/usr/bin/convert "$PLAY/menu.png" -background black -flatten "$WORK/expected.png"
diff=$(differing_pixels "$WORK/menu.png" "$WORK/expected.png")
[ "$diff" = 0 ] || fail "the menu is gone after the toggles ($diff pixels differ): Alt+Return as Enter?"

# A cannon that stands still is soon hit: the checks in play come within its first seconds.
press Return
sleep 0.3
press F11
sleep 0.4
alive "F11 in play"
press F11
sleep 0.4
alive "F11 back in play"
shot "$WORK/play.png"
[ -n "$(cannon_x "$WORK/play.png")" ] || fail "no cannon in the window after full screen"

# The window's close box ends the game on every screen, game over included.
close_window
wait_for_exit
[ "$GAME_STATUS" = 0 ] || fail "the game ended with status $GAME_STATUS"
echo "F11 and Alt+Return toggled on the menu and in play; menu kept, play went on, exit 0"
