#!/usr/bin/env bash
# Without a display, and with no video driver asked for, the game stops at once with one line and
# status 1: SDL 1.2 would otherwise draw it as coloured text in the terminal. A driver the player
# names is left to them, the text one too.
source "$(dirname "$0")/lib.sh"

status=0
(cd "$PLAY" && env -u DISPLAY -u SDL_VIDEODRIVER timeout 20 "$GAME") </dev/null \
    >"$WORK/out" 2>"$WORK/err" || status=$?
[ "$status" = 1 ] || fail "status $status without a display: $(cat "$WORK/err")"
[ "$(wc -l <"$WORK/err")" = 1 ] || fail "not one line: $(cat "$WORK/err")"
line=$(cat "$WORK/err")
[[ "$line" == "arcade-game: "* ]] || fail "not the game's line: $line"

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
echo "without a display: $line${driver:+; $driver asked for by name plays on}"
