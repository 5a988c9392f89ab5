# shellcheck shell=bash
# Shared steps of the end-to-end tests: a private X server, the game in a fresh play folder,
# keys from xdotool and screenshots read back pixel by pixel.
#
# Expects from the test runner: GAME (the executable), ASSET_DIR, FONT_FILE, CLOSE_WINDOW.
set -euo pipefail
# shellcheck source=../../tools/x-session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/x-session.sh"

WORK=$(mktemp -d /tmp/arcade-e2e-XXXXXX)
XVFB_PID=""
GAME_PID=""
WINDOW=""

cleanup() {
    if [ -n "$GAME_PID" ]; then kill "$GAME_PID" 2>/dev/null || true; fi
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -f "$WORK/game.log" ] && sed 's/^/game: /' "$WORK/game.log" | grep -v ALSA >&2
    [ -f "$WORK/xvfb.log" ] && sed 's/^/xvfb: /' "$WORK/xvfb.log" >&2
    echo "display: ${DISPLAY:-none}, X server $(kill -0 "${XVFB_PID:-0}" 2>/dev/null && echo alive || echo gone)" >&2
    if [ -n "${DISPLAY:-}" ]; then
        local keep="/tmp/arcade-e2e-failure-$$.png"
        import -display "$DISPLAY" -window root "$keep" 2>/dev/null && echo "screen kept in $keep" >&2
    fi
    exit 1
}

start_x() {
    start_x_sized 800x600
}

# For a test that needs a screen of another size, WIDTHxHEIGHT.
start_x_sized() {
    start_xvfb "$1x24" "$WORK/xvfb.log" || fail "no X server could be started"
}

# The play folder a player would have: pictures, sounds, the font as arial.ttf, and whatever
# high-score file the test puts there first.
PLAY="$WORK/play"
mkdir -p "$PLAY"
cp "$ASSET_DIR"/*.png "$ASSET_DIR"/*.wav "$PLAY"/ 2>/dev/null || true
cp "$FONT_FILE" "$PLAY/arial.ttf"

# The game in its play folder, with the options given, up to its menu on the screen: keys sent
# before that could reach a window that does not take them yet. GAME_WRAPPER, an array, runs it
# under another program (strace, say).
# shellcheck disable=SC2120  # most tests start the game without options
start_game() {
    (cd "$PLAY" && exec ${GAME_WRAPPER[@]+"${GAME_WRAPPER[@]}"} "$GAME" "$@") >"$WORK/game.log" 2>&1 &
    GAME_PID=$!
    wait_for_window 'Arcade Game' 10 || fail "no window titled Arcade Game"
    # Without a window manager, keys go to the window under the pointer. (No --sync: a pointer
    # already there never moves, and xdotool would wait for it.)
    xdotool mousemove 320 240
    xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
    wait_for_screen menu.png 10 "the game at its start"
}

game_ended() { ! kill -0 "$GAME_PID" 2>/dev/null; }

# Waits for the game to end and leaves its exit status in GAME_STATUS (read by the tests).
# shellcheck disable=SC2034
wait_for_exit() {
    wait_until 10 game_ended || fail "the game is still running"
    GAME_STATUS=0
    wait "$GAME_PID" || GAME_STATUS=$?
    GAME_PID=""
}

# The game takes one event a frame, so a press is followed by a few frames' pause for it to be
# taken; what a key shows is then waited for by the test.
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

# The most common colour of a picture apart from the transparent orange, as "r,g,b".
dominant_colour() {
    /usr/bin/convert "$1" -depth 8 txt:- | awk 'NR > 1 {print $2}' | tr -d '()' |
        cut -d, -f1-3 | grep -v '^255,128,0$' | sort | uniq -c | sort -rn |
        awk 'NR == 1 {print $2}'
}

# Number of pixels of exactly this colour within a region WxH+X+Y of a PNG.
count_colour() {
    /usr/bin/convert "$1" -crop "$2" +repage -fill black +opaque "rgb($3)" -fill white \
        -opaque "rgb($3)" -format '%[fx:int(mean*w*h+0.5)]' info:
}

# A full-screen picture as the window shows it: the key colour is not drawn, so over a cleared
# window it would stay black.
expect_picture() {
    /usr/bin/convert "$PLAY/$1" "$2"
}

shows_picture() {
    shot "$WORK/now.png"
    /usr/bin/convert "$WORK/now.png" -crop "$2" +repage "$WORK/now-part.png"
    [ "$(differing_pixels "$WORK/now-part.png" "$1")" = 0 ]
}

# Waits, SECONDS at most (10), until the window shows a full-screen picture of the play folder
# exactly, over a REGION WxH+X+Y of it (all of it); WHAT names the moment in the failure.
wait_for_screen() {
    local region=${4:-640x480+0+0}
    expect_picture "$1" "$WORK/awaited.png"
    /usr/bin/convert "$WORK/awaited.png" -crop "$region" +repage "$WORK/awaited.png"
    wait_until "${2:-10}" shows_picture "$WORK/awaited.png" "$region" ||
        fail "${3:-the window} never showed $1 over $region" \
            "($(differing_pixels "$WORK/now-part.png" "$WORK/awaited.png") pixels differ)"
}

# Waits, SECONDS at most, until a command succeeds; fails with WHAT if it never does.
wait_for() {
    local seconds=$1 what=$2
    shift 2
    wait_until "$seconds" "$@" || fail "$what"
}

# Plays on with the cannon still until a bomb ends the game and the game-over picture fills the
# window. Prints how many seconds it took.
wait_for_game_over() {
    expect_picture gameover.png "$WORK/gameover-expected.png"
    local started=$SECONDS
    while [ $((SECONDS - started)) -lt "${1:-120}" ]; do
        shot "$WORK/waiting.png"
        if [ "$(differing_pixels "$WORK/waiting.png" "$WORK/gameover-expected.png")" = 0 ]; then
            echo $((SECONDS - started))
            return 0
        fi
        sleep 0.5
    done
    fail "no game over within ${1:-120} seconds"
}

# The same for a later game, whose game-over screen shows the last name from its first frame:
# the screen is there once the picture stands everywhere outside the name row. MASK, another
# row to leave out: the points row that the game shows with the player's settings.
# shellcheck disable=SC2034  # used by the scripts that source this one
POINTS_ROW='rectangle 0,175 639,210'
wait_for_game_over_with_name() {
    local mask=${2:-'rectangle 0,345 639,385'}
    expect_picture gameover.png "$WORK/gameover-expected.png"
    /usr/bin/convert "$WORK/gameover-expected.png" -fill black -draw "$mask" \
        "$WORK/gameover-masked.png"
    local started=$SECONDS
    while [ $((SECONDS - started)) -lt "${1:-120}" ]; do
        shot "$WORK/waiting.png"
        /usr/bin/convert "$WORK/waiting.png" -fill black -draw "$mask" \
            "$WORK/waiting-masked.png"
        if [ "$(differing_pixels "$WORK/waiting-masked.png" "$WORK/gameover-masked.png")" = 0 ]; then
            echo $((SECONDS - started))
            return 0
        fi
        sleep 0.5
    done
    fail "no game over within ${1:-120} seconds"
}

# Pixels of the game's text colour within a region WxH+X+Y of the window.
text_pixels() {
    shot "$WORK/text.png"
    count_colour "$WORK/text.png" "$1" 255,0,255
}

text_shown() { [ "$(text_pixels "$1")" -gt 0 ]; }
has_lines() { [ -f "$1" ] && [ "$(wc -l <"$1")" -ge "$2" ]; }

cannon_shown() {
    shot "$WORK/cannon.png"
    [ -n "$(cannon_x "$WORK/cannon.png")" ]
}

# Where the cannon stands in a screenshot: the leftmost column of the ground strip that differs
# from bg.png in many rows (a bomb is only a few pixels wide).
cannon_x() {
    [ -f "$WORK/ground.png" ] ||
        /usr/bin/convert "$PLAY/bg.png" -crop 640x55+0+423 +repage "$WORK/ground.png"
    /usr/bin/convert "$1" -crop 640x55+0+423 +repage "$WORK/strip.png"
    /usr/bin/compare "$WORK/strip.png" "$WORK/ground.png" -compose src -highlight-color white \
        -lowlight-color black "$WORK/diff.png" 2>/dev/null || true
    /usr/bin/convert "$WORK/diff.png" -colorspace gray -scale 640x1! -threshold 40% txt:- |
        awk -F'[,:]' '/#FFFFFF|white/ && first == "" {first = $1} END {print first}'
}
