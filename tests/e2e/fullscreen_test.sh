#!/usr/bin/env bash
# Full screen on F11 and Alt+Return: whether or not the X server can switch, the game runs on,
# Alt+Return is never taken for Return, and play goes on in the window it comes back to.
source "$(dirname "$0")/lib.sh"
start_x
start_game

alive() { kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended after $1"; }

# A toggle may leave the picture as it was, so it is known to be taken once a key pressed after
# it has shown: on the menu Space brings the high scores (whose title bar stands as drawn) and
# Return the menu again; in play a held arrow moves the cannon.
taken_on_menu() {
    press space
    wait_for_screen showscorebg.png 10 "after $1, Space" 640x50+0+0
    alive "$1"
    press Return
    wait_for_screen menu.png 10 "after $1, Return from the list"
}

# Alt+Return taken for Enter would start a game, where Space fires instead.
press F11 F11
taken_on_menu "F11 on the menu and back"
press alt+Return alt+Return
taken_on_menu "Alt+Return on the menu and back (taken for Enter?)"

cannon_left_of() {
    local now
    shot "$WORK/play.png"
    now=$(cannon_x "$WORK/play.png")
    [ -n "$now" ] && [ "$now" -lt "$1" ]
}

# Play goes on in the window: a held arrow moves the cannon it shows.
taken_in_play() {
    local from
    shot "$WORK/play.png"
    from=$(cannon_x "$WORK/play.png")
    [ -n "$from" ] || fail "no cannon in the window after $1"
    xdotool keydown Left
    wait_until 3 cannon_left_of "$from" || {
        xdotool keyup Left
        fail "the cannon did not move after $1"
    }
    xdotool keyup Left
    alive "$1"
}

# A cannon that stands still is soon hit: the checks in play come within its first seconds.
press Return
wait_for 5 "no cannon after Return" cannon_shown
press F11 F11
taken_in_play "F11 in play and back"

# The window's close box ends the game on every screen, game over included.
close_window
wait_for_exit
[ "$GAME_STATUS" = 0 ] || fail "the game ended with status $GAME_STATUS"

# A laptop's screen: 1366 x 768, where the largest whole scale (1) would leave the picture a
# stamp. Full screen fills the height: 1024 x 768 in the middle, each pixel first doubled, then
# shrunk smoothly (ImageMagick's -scale does both exactly so), black on either side.
kill "$XVFB_PID" 2>/dev/null || true
wait "$XVFB_PID" 2>/dev/null || true
start_x_sized 1366x768
start_game
/usr/bin/convert "$PLAY/menu.png" -background black -flatten -scale 200% -scale 1024x768 \
    -background black -gravity center -extent 1366x768 "$WORK/menu-filled.png"
filled_differs() {
    import -display "$DISPLAY" -window root "$WORK/filled.png"
    /usr/bin/compare -fuzz 1% -metric AE "$WORK/filled.png" "$WORK/menu-filled.png" null: 2>&1 || true
}
fills_height() { [ "$(filled_differs)" = 0 ]; }
press F11
wait_until 5 fills_height || fail "full screen at 1366x768: $(filled_differs) pixels differ from 1024x768"
[ -n "${SHOTS_DIR:-}" ] && cp "$WORK/filled.png" "$SHOTS_DIR/fullscreen-1366x768.png"
press Escape
wait_for_exit
[ "$GAME_STATUS" = 0 ] || fail "the game ended with status $GAME_STATUS at 1366x768"

echo "F11 and Alt+Return toggled on the menu and in play; menu kept, play went on, exit 0;" \
    "full screen at 1366x768 showed the menu at 1024x768"
