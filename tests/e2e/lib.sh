# Shared steps of the end-to-end tests: a private X server, the game in a fresh play folder,
# keys from xdotool and screenshots read back pixel by pixel.
#
# Expects from the test runner: GAME (the executable), ASSET_DIR, FONT_FILE, CLOSE_WINDOW.
set -euo pipefail

WORK=$(mktemp -d /tmp/arcade-e2e-XXXXXX)
XVFB_PID=""
GAME_PID=""
WINDOW=""

cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ]; then
        local keep="/tmp/arcade-e2e-failure-$$.png"
        import -display "$DISPLAY" -window root "$keep" 2>/dev/null && echo "screen kept in $keep" >&2
    fi
    exit 1
}

# A new X server on a display number it picks itself, so tests can run side by side.
start_x() {
    exec 7<> <(:)
    Xvfb -displayfd 7 -screen 0 800x600x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local number=""
    for _ in $(seq 100); do
        read -r -t 0.1 number <&7 && break || true
    done
    [ -n "$number" ] || fail "Xvfb did not start"
    export DISPLAY=":$number"
}

# The play folder a player would have: pictures, the font as arial.ttf, and whatever high-score
# file the test puts there first.
PLAY="$WORK/play"
mkdir -p "$PLAY"
cp "$ASSET_DIR"/*.png "$PLAY"/ 2>/dev/null || true
cp "$FONT_FILE" "$PLAY/arial.ttf"

start_game() {
    (cd "$PLAY" && exec "$GAME") >"$WORK/game.log" 2>&1 &
    GAME_PID=$!
    for _ in $(seq 100); do
        WINDOW=$(xdotool search --name '^Arcade Game$' 2>/dev/null | head -n 1 || true)
        [ -n "$WINDOW" ] && break
        sleep 0.1
    done
    [ -n "$WINDOW" ] || fail "no window titled Arcade Game"
    # Without a window manager, keys go to the window under the pointer.
    xdotool mousemove --sync 320 240
    xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
    sleep 0.3
}

# Waits for the game to end and prints its exit status.
game_status() {
    local status=0
    for _ in $(seq 100); do
        kill -0 "$GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$GAME_PID" 2>/dev/null && fail "the game is still running"
    wait "$GAME_PID" || status=$?
    GAME_PID=""
    echo "$status"
}

press() { xdotool key --delay 80 "$@"; sleep 0.15; }
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; sleep 0.1; }
close_window() { "$CLOSE_WINDOW" "$WINDOW"; }

# The window's pixels as a PNG.
shot() { import -window "$WINDOW" "$1"; }

# Colour of one pixel of a PNG as "r,g,b".
pixel() {
    /usr/bin/convert "$1" -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' \
        -crop "1x1+$2+$3" info:
}

# Number of pixels that differ between two images of the same size.
differing_pixels() {
    /usr/bin/compare -metric AE "$1" "$2" null: 2>&1 || true
}

# Number of pixels of exactly this colour within a region WxH+X+Y of a PNG.
count_colour() {
    /usr/bin/convert "$1" -crop "$2" +repage -fill black +opaque "rgb($3)" -fill white \
        -opaque "rgb($3)" -format '%[fx:int(mean*w*h+0.5)]' info:
}
