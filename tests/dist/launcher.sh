# shellcheck shell=bash
# Shared checks of an installed game, run through its launcher as a player would: from /, with a
# fresh home folder and no XDG_DATA_HOME. Sourced after ../e2e/lib.sh.
#
#   check_launcher ROOT   ROOT is the install prefix (ROOT/games/arcade-game is the launcher)

check_options() {
    local launcher=$1 out status
    out=$("$launcher" --help) || fail "--help gave status $?"
    [[ "$out" == *"Usage: arcade-game"* ]] || fail "--help printed no usage: $out"
    [[ "$out" == *"$HOME/.local/share/arcade-game/highscore.txt"* ]] ||
        fail "--help does not say where the scores are: $out"
    out=$(XDG_DATA_HOME="$WORK/xdg" "$launcher" --help)
    [[ "$out" == *"$WORK/xdg/arcade-game/highscore.txt"* ]] || fail "--help ignores XDG_DATA_HOME"

    [ "$("$launcher" --version)" = "arcade-game $VERSION" ] ||
        fail "--version printed '$("$launcher" --version)'"

    status=0
    out=$("$launcher" --fly 2>&1 >/dev/null) || status=$?
    [ "$status" = 2 ] || fail "an unknown option gave status $status"
    [[ "$out" == *"unknown option '--fly'"*"Usage:"* ]] || fail "an unknown option said: $out"

    status=0
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$launcher" 2>&1) || status=$?
    [ "$status" = 1 ] || fail "no display gave status $status"
    [[ "$out" == *"no display"* ]] || fail "no display said: $out"
}

# A missing part of the install is named, with status 1.
check_missing_game() {
    local root=$1 game="$1/lib/games/arcade-game/arcade-game" out status=0
    mv "$game" "$game.away"
    out=$(SDL_VIDEODRIVER=dummy "$root/games/arcade-game" 2>&1) || status=$?
    mv "$game.away" "$game"
    [ "$status" = 1 ] || fail "a missing game binary gave status $status"
    [[ "$out" == *"$game is missing"* ]] || fail "a missing game binary said: $out"
}

# Menu on screen, one game to its stored score, Escape.
check_play() {
    local root=$1 folder="$HOME/.local/share/arcade-game"
    [ ! -e /highscore.txt ] || fail "/highscore.txt is there before the game starts"
    # shellcheck disable=SC2034  # what start_game starts, and from where
    GAME="$root/games/arcade-game" PLAY=/
    expect_picture() { /usr/bin/convert "$root/share/games/arcade-game/$1" "$2"; }
    start_game

    shot "$WORK/menu.png"
    expect_picture menu.png "$WORK/menu-expected.png"
    local diff
    diff=$(differing_pixels "$WORK/menu.png" "$WORK/menu-expected.png")
    [ "$diff" = 0 ] || fail "the menu differs from menu.png in $diff pixels"
    xprop -id "$WINDOW" WM_HINTS _NET_WM_ICON 2>/dev/null | grep -q -e 'icon:' -e '_NET_WM_ICON(' ||
        fail "the window has no icon"
    [ -z "$(find "$folder" -type l)" ] ||
        fail "links in the scores' folder $folder: $(find "$folder" -type l)"

    press Return
    local took
    # With the player's settings, as the launcher keeps them, the points show over the picture.
    took=$(wait_for_game_over_with_name 150 "$POINTS_ROW")
    xdotool type --delay 120 "Ada"
    press Return
    press Return
    press Return
    wait_for 5 "no score stored in $folder" has_lines "$folder/highscore.txt" 1
    local line
    line=$(cat "$folder/highscore.txt" 2>/dev/null || true)
    [[ "$line" =~ ^[0-9]+\ points\ -\ Ada$ ]] || fail "stored '$line' in $folder/highscore.txt"
    local stored
    # The home folder and the install live in WORK; the game was started from /.
    stored=$(find "$WORK" /highscore.txt -name highscore.txt 2>/dev/null || true)
    [ "$stored" = "$folder/highscore.txt" ] || fail "high-score files: $stored"
    # The game just played, kept beside the scores, proves what it stored.
    local proof
    proof=$("$root/games/arcade-game" --verify "$folder/last.replay") ||
        fail "the game just played does not prove: $proof"
    local points=$((10#${line%% points*}))
    [[ "$proof" =~ ^"$folder/last.replay: $points point"s?", "[0-9]+" frames"?', "Ada": proven'$ ]] ||
        fail "--verify said: $proof"
    [ -e "$folder/replays/$points points - Ada.replay" ] ||
        fail "no replay in $folder/replays: $(ls "$folder"/replays)"

    press Escape
    wait_for_exit
    [ "$GAME_STATUS" = 0 ] || fail "Escape ended the game with status $GAME_STATUS"
    echo "menu exact with an icon, game over after ${took}s, stored '$line' in $folder only," \
        "Escape -> 0"
}

check_launcher() {
    local root=$1
    export HOME="$WORK/home"
    unset XDG_DATA_HOME
    mkdir -p "$HOME"
    cd /
    check_options "$root/games/arcade-game"
    check_missing_game "$root"
    start_x
    check_play "$root"
}
