#!/usr/bin/env bash
# Quiet at the terminal. Without a display, or with one out of reach, and with no video driver
# asked for, the game stops with one line and status 1, before SDL writes anything: SDL 1.2 would
# otherwise draw it as coloured text in the terminal. A driver the player names is left to them,
# the text one too.
# With a display and no sound driver named, a start without a sound card says nothing at all.
source "$(dirname "$0")/lib.sh"

status=0
(cd "$PLAY" && env -u DISPLAY -u SDL_VIDEODRIVER timeout 20 "$GAME") </dev/null \
    >"$WORK/out" 2>"$WORK/err" || status=$?
[ "$status" = 1 ] || fail "status $status without a display: $(cat "$WORK/err")"
[ "$(wc -l <"$WORK/err")" = 1 ] || fail "not one line: $(cat "$WORK/err")"
line=$(cat "$WORK/err")
[[ "$line" == "arcade-game: "* ]] || fail "not the game's line: $line"
[ ! -s "$WORK/out" ] || fail "written to the terminal: $(od -c "$WORK/out" | head -n 5)"

# A display named but out of reach: SDL, left to itself, would fall back on its text driver and
# write that driver's codes to the terminal. The game names the display and SDL's reason instead.
unreachable=64000
while [ -e "/tmp/.X11-unix/X$unreachable" ]; do unreachable=$((unreachable + 1)); done
status=0
(cd "$PLAY" && env -u SDL_VIDEODRIVER -u WAYLAND_DISPLAY DISPLAY=":$unreachable" \
    timeout 20 "$GAME") </dev/null >"$WORK/out" 2>"$WORK/err" || status=$?
[ "$status" = 1 ] || fail "status $status with an unreachable display: $(cat "$WORK/err")"
[ "$(wc -l <"$WORK/err")" = 1 ] || fail "not one line: $(cat "$WORK/err")"
unreached=$(cat "$WORK/err")
[[ "$unreached" == "arcade-game: "*" display :$unreachable (SDL: "?*"): "* ]] ||
    fail "the display and SDL's reason not named: $unreached"
[ ! -s "$WORK/out" ] || fail "written to the terminal: $(od -c "$WORK/out" | head -n 5)"

# The text driver named by the player is theirs: it draws in the terminal until stopped, or, where
# SDL has none, SDL says so.
status=0
(cd "$PLAY" && env -u WAYLAND_DISPLAY DISPLAY=":$unreachable" SDL_VIDEODRIVER=caca timeout 3 \
    "$GAME") </dev/null >"$WORK/out" 2>"$WORK/err" || status=$?
[ "$status" = 124 ] || grep -q '^arcade-game: SDL_Init failed: ' "$WORK/err" ||
    fail "the text driver asked for by name: status $status, $(cat "$WORK/err")"

# The sound driver as SDL picks it, whatever this machine has.
start_x
(cd "$PLAY" && exec env -u SDL_AUDIODRIVER "$GAME") >"$WORK/game.log" 2>&1 &
GAME_PID=$!
wait_for_window 'Arcade Game' 10 || fail "no window titled Arcade Game"
wait_for_screen menu.png 10 "the game at its start"
close_window
wait_for_exit
[ ! -s "$WORK/game.log" ] || fail "a start with a display wrote: $(head -n 3 "$WORK/game.log")"

echo "without a display: $line; out of reach: $unreached; with one, nothing written"
