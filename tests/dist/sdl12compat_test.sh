#!/usr/bin/env bash
# The game as built here, run on the SDL 1.2 that newer distributions ship: the compatibility
# layer over SDL 2, fetched and unpacked beside the build and put first on the library path.
source "$(dirname "$0")/../e2e/lib.sh"

layer=$("$(dirname "$0")/../../tools/fetch-sdl12-compat" "$BUILD_DIR/sdl12-compat") ||
    fail "could not fetch the compatibility layer"
export LD_LIBRARY_PATH="$layer${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
# SDL 2 and the desktop bus it opens keep memory to the end of the process, which LeakSanitizer
# would count against the game; the game's own leaks are looked for by every other test.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
# The menu on the window is menu.png to the pixel, and Escape ends the game with status 0.
menu_exact_then_escape() {
    local how=$1 diff
    shot "$WORK/menu.png"
    expect_picture menu.png "$WORK/expected.png"
    diff=$(differing_pixels "$WORK/menu.png" "$WORK/expected.png")
    [ "$diff" = 0 ] || fail "$how, the menu differs from menu.png in $diff pixels"
    press Escape
    wait_for_exit
    [ "$GAME_STATUS" = 0 ] || fail "$how, Escape ended the game with status $GAME_STATUS"
}

start_x
start_game
grep -q "$layer/libSDL-1.2.so" "/proc/$GAME_PID/maps" || fail "the game did not load the layer"
grep -q 'libSDL2-2.0.so' "/proc/$GAME_PID/maps" || fail "the layer did not load SDL 2"
read -r width height < <(xwininfo -id "$WINDOW" |
    awk '/Width:/{w=$2} /Height:/{h=$2} END{print w, h}')
{ [ "$width" = 640 ] && [ "$height" = 480 ]; } || fail "window is ${width}x${height}"
menu_exact_then_escape "started by itself"

# Started by its launcher, the game puts its frames on the window without OpenGL, and the menu
# is still exact.
cmake --install "$BUILD_DIR" --prefix "$WORK/prefix" >"$WORK/install.log" || fail "install failed"
export HOME="$WORK/home"
mkdir -p "$HOME"
# shellcheck disable=SC2034  # what start_game starts
GAME="$WORK/prefix/games/arcade-game"
start_game
grep -q "$layer/libSDL-1.2.so" "/proc/$GAME_PID/maps" || fail "the launcher's game is not on the layer"
opengl=$(grep -o -e 'libGLX_mesa[^ ]*' -e 'libEGL_mesa[^ ]*' -e 'libLLVM[^ ]*' -e 'swrast[^ ]*' \
    "/proc/$GAME_PID/maps" | sort -u | tr '\n' ' ' || true)
[ -z "$opengl" ] || fail "started by the launcher, the game loaded OpenGL: $opengl"
menu_exact_then_escape "started by the launcher"
echo "on $layer: window 640x480, menu exact, Escape -> 0; through the launcher: no OpenGL," \
    "menu exact, Escape -> 0"
