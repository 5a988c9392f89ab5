#!/usr/bin/env bash
# Big screens, as a player on a 1920x1080 desktop gets them through the installed launcher, on
# SDL 1.2 and on the compatibility layer over SDL 2: the window as large as the desktop holds,
# the keys that change it, full screen at the desktop's size, and the choice kept for the next
# start; the lines of a settings file it cannot take named once, and the file left alone.
source "$(dirname "$0")/../e2e/lib.sh"

cmake --install "$BUILD_DIR" --prefix "$WORK/prefix" >"$WORK/install.log" || fail "install failed"
GAME="$WORK/prefix/games/arcade-game"
unset XDG_CONFIG_HOME XDG_DATA_HOME
start_x_sized 1920x1080

window_size() { xwininfo -id "$WINDOW" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}'; }
sized() { [ "$(window_size)" = "$1" ]; }
expect_size() { wait_until 5 sized "$1" || fail "$2: the window is $(window_size), not $1"; }
# The window at any size, and the keys sent to it.
start_big() {
    (cd / && exec "$GAME") >"$WORK/game.log" 2>&1 &
    GAME_PID=$!
    wait_for_window 'Arcade Game' 10 || fail "no window titled Arcade Game"
    xdotool mousemove 320 240
}
expect_setting() {
    grep -qx "$1" "$settings" || fail "$2: no '$1' in $settings: $(cat "$settings" 2>&1)"
}
window_shows() {
    shot "$WORK/shown.png"
    [ "$(differing_pixels "$WORK/shown.png" "$1")" = 0 ]
}
quit_game() {
    press Escape
    wait_for_exit
    [ "$GAME_STATUS" = 0 ] || fail "$1: Escape ended the game with status $GAME_STATUS"
}

/usr/bin/convert "$ASSET_DIR/menu.png" -background black -flatten -scale 200% "$WORK/menu2x.png"
/usr/bin/convert "$WORK/menu2x.png" -background black -gravity center -extent 1920x1080 \
    "$WORK/menu-full.png"

# The whole screen shows the menu at 2x centred on black. Without a window manager to place it,
# SDL 2 leaves its full-screen window where the window stood; what it shows must still be that.
full_screen_shows_menu() {
    import -display "$DISPLAY" -window root "$WORK/full.png"
    [ "$(differing_pixels "$WORK/full.png" "$WORK/menu-full.png")" = 0 ] && return 0
    # The window's picture as far as it lies on the screen.
    [ "$how" = compat ] && sized 1920x1080 && shot "$WORK/full.png" || return 1
    /usr/bin/convert "$WORK/menu-full.png" -crop "$(identify -format %wx%h "$WORK/full.png")+0+0" \
        +repage "$WORK/full-part.png"
    [ "$(differing_pixels "$WORK/full.png" "$WORK/full-part.png")" = 0 ]
}

walk_through() {
    local how=$1
    export HOME="$WORK/home-$how"
    mkdir -p "$HOME"
    settings="$HOME/.config/arcade-game/settings"

    start_big
    expect_size 1280x960 "$how, the first start"
    wait_until 10 window_shows "$WORK/menu2x.png" ||
        fail "$how, the menu at 2x: $(differing_pixels "$WORK/shown.png" "$WORK/menu2x.png") differ"
    press Next
    expect_size 640x480 "$how, Page Down"
    expect_setting "scale = 1" "$how, Page Down"
    press KP_Add
    expect_size 1280x960 "$how, keypad +"
    expect_setting "scale = 2" "$how, keypad +"

    press F11
    wait_until 5 full_screen_shows_menu ||
        fail "$how, full screen: $(differing_pixels "$WORK/full.png" "$WORK/menu-full.png") pixels differ"
    expect_setting "fullscreen = yes" "$how, F11"
    press F11
    expect_size 1280x960 "$how, F11 again"
    expect_setting "fullscreen = no" "$how, F11 again"
    # Full screen leaves the pointer in the middle of the screen, where the window to come is
    # not: without a window manager the keys go to the window under it.
    xdotool mousemove 320 240
    wait_until 5 window_shows "$WORK/menu2x.png" || fail "$how, no menu back in the window"
    press Prior
    expect_size 1280x960 "$how, Page Up with no room for 3x"
    press KP_Subtract
    expect_size 640x480 "$how, keypad -"
    quit_game "$how"
    # What is kept and read is the game's own, whichever SDL draws.
    [ "$how" = sdl12 ] || return 0

    start_big
    expect_size 640x480 "$how, the start after choosing 1x"
    press m
    wait_until 5 grep -qx "sound = off" "$settings" || fail "$how, M: $(cat "$settings")"
    expect_setting "scale = 1" "$how, M"
    quit_game "$how, the kept scale"

    # A file edited by hand: its scale taken in any case (no auto from the launcher), each line
    # the game cannot take named once, and not a byte changed.
    printf 'Scale = 1\nfullscreen = maybe\nvolume = 5\n' >"$settings"
    cp "$settings" "$WORK/garbled"
    start_big
    expect_size 640x480 "$how, a settings file with lines to skip"
    quit_game "$how, a settings file with lines to skip"
    [ "$(grep -c "$settings: line" "$WORK/game.log")" = 2 ] ||
        fail "$how, the lines skipped were told: $(cat "$WORK/game.log")"
    cmp -s "$settings" "$WORK/garbled" || fail "$how, the edited file changed"
}

walk_through sdl12
layer=$("$(dirname "$0")/../../tools/fetch-sdl12-compat" "$BUILD_DIR/sdl12-compat") ||
    fail "could not fetch the compatibility layer"
export LD_LIBRARY_PATH="$layer${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
# SDL 2 keeps memory to the end of the process, which LeakSanitizer would count against the game.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
walk_through compat
echo "on SDL 1.2 and the layer: 1280x960 at first, Page Down/keypad + 640x480/1280x960," \
    "full screen 1920x1080 with the menu at 2x centred, back at 1280x960, 1x kept for the next" \
    "start, the lines it cannot take told once and the file unchanged"
