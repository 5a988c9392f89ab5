#!/usr/bin/env bash
# Quiet at the terminal. Without a display, and with no video driver asked for, the game stops at
# once with one line and status 1, before SDL writes anything: SDL 1.2 would otherwise draw it as
# coloured text in the terminal. A driver the player names is left to them, the text one too.
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

# Where SDL has no text driver, it finds no video at all, and says so in the same one line.
driver=""
if [[ "$line" == *"SDL's text driver "* ]]; then
    driver=${line#*"SDL's text driver "}
    driver=${driver%%:*}
    status=0
    (cd "$PLAY" && env -u DISPLAY SDL_VIDEODRIVER="$driver" timeout 3 "$GAME") </dev/null \
        >"$WORK/out" 2>"$WORK/err" || status=$?
    # Still drawing in the terminal when it is stopped.
    [ "$status" = 124 ] || fail "the $driver driver asked for by name: status $status, $(cat "$WORK/err")"
fi

# The sound driver as SDL picks it, whatever this machine has.
start_x
(cd "$PLAY" && exec env -u SDL_AUDIODRIVER "$GAME") >"$WORK/game.log" 2>&1 &
GAME_PID=$!
wait_for_window 'Arcade Game' 10 || fail "no window titled Arcade Game"
wait_for_screen menu.png 10 "the game at its start"
close_window
wait_for_exit
[ ! -s "$WORK/game.log" ] || fail "a start with a display wrote: $(head -n 3 "$WORK/game.log")"

echo "without a display: $line${driver:+; $driver asked for by name plays on};" \
    "with one, nothing written"
