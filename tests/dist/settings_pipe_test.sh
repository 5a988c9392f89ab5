#!/usr/bin/env bash
# A named pipe where the player's settings should be, through the installed launcher: the
# launcher and the game read only a regular file, so the game comes up with the defaults and one
# line saying why, and --verify refuses a pipe, rather than each waiting for a writer that never
# comes. A hang is caught by the test's own time limit.
source "$(dirname "$0")/../e2e/lib.sh"

cmake --install "$BUILD_DIR" --prefix "$WORK/prefix" >"$WORK/install.log" || fail "install failed"
launcher="$WORK/prefix/games/arcade-game"
export HOME="$WORK/home"
unset XDG_CONFIG_HOME XDG_DATA_HOME
settings="$HOME/.config/arcade-game/settings"
mkdir -p "${settings%/*}"
mkfifo "$settings"

start_x
"$launcher" >"$WORK/game.log" 2>&1 &
GAME_PID=$!
# Opened both ways, the pipe lets a reader that waits on it go, so that a failure leaves none.
let_go() { exec 3<>"$settings" && exec 3>&-; }
wait_for_window 'Arcade Game' 20 || { let_go; fail "the game did not get past the pipe to its window"; }
grep -q "$settings: not a regular file; playing with the default settings" "$WORK/game.log" ||
    fail "the pipe was not named"
xdotool mousemove 320 240
press Escape
wait_for_exit
[ "$GAME_STATUS" = 0 ] || fail "Escape ended the game with status $GAME_STATUS"
[ -p "$settings" ] || fail "the pipe was replaced"

status=0
out=$("$launcher" --verify "$settings" 2>&1) || status=$?
[ "$status" != 0 ] || fail "--verify of a pipe succeeded: $out"
[[ "$out" == *"not a regular file"* ]] || fail "--verify of a pipe said: $out"
echo "a pipe as settings: the game started with the defaults and said so once, --verify refused it"
