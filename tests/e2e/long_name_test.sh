#!/usr/bin/env bash
# The longest name of wide letters after a game, in a real window: the name and its prompt stay
# whole, apart and inside the window, a short name leaves the prompt where it always stood, and
# the stored line ends inside its column of the list.
source "$(dirname "$0")/lib.sh"
start_x
start_game

# Letters within this many pixels of each other count as one line of text.
GAP_X=6
GAP_Y=3

# The boxes WxH+X+Y of the lines of the game's text in a screenshot, one per line of output:
# its full-colour pixels grown by the gaps into blocks, measured and shrunk back again.
text_boxes() {
    /usr/bin/convert "$1" -fill black +opaque "rgb(255,0,255)" -fill white -opaque "rgb(255,0,255)" \
        -morphology Dilate "Rectangle:$((2 * GAP_X + 1))x$((2 * GAP_Y + 1))" \
        -define connected-components:verbose=true -connected-components 8 null: |
        awk -v gx="$GAP_X" -v gy="$GAP_Y" '$NF == "srgb(255,255,255)" {
            split($2, b, /[x+]/)
            printf "%dx%d+%d+%d\n", b[1] - 2 * gx, b[2] - 2 * gy, b[3] + gx, b[4] + gy
        }'
}

# Field N (1 width, 2 height, 3 x, 4 y) of a box.
field() { echo "$1" | awk -F'[x+]' -v n="$2" '{print $n}'; }

# Whether two boxes, grown by the gaps, share a pixel: text that close reads as one.
touching() {
    local a=$1 b=$2
    [ $(($(field "$a" 3) - GAP_X)) -lt $(($(field "$b" 3) + $(field "$b" 1) + GAP_X)) ] &&
        [ $(($(field "$b" 3) - GAP_X)) -lt $(($(field "$a" 3) + $(field "$a" 1) + GAP_X)) ] &&
        [ $(($(field "$a" 4) - GAP_Y)) -lt $(($(field "$b" 4) + $(field "$b" 2) + GAP_Y)) ] &&
        [ $(($(field "$b" 4) - GAP_Y)) -lt $(($(field "$a" 4) + $(field "$a" 2) + GAP_Y)) ]
}

inside_window() {
    [ "$(field "$1" 3)" -gt 0 ] && [ "$(field "$1" 4)" -gt 0 ] &&
        [ $(($(field "$1" 3) + $(field "$1" 1))) -lt 640 ] &&
        [ $(($(field "$1" 4) + $(field "$1" 2))) -lt 480 ]
}

# The name's box starts where the name is written, (100, 350), less the edge of its first letter.
name_box() { echo "$1" | awk -F'[x+]' '$3 >= 100 && $3 <= 103 && $4 >= 350 && $4 <= 356'; }
prompt_box() { echo "$1" | awk -F'[x+]' '!($3 >= 100 && $3 <= 103 && $4 >= 350 && $4 <= 356)'; }

press Return
took=$(wait_for_game_over 150)

# A short name: the prompt stands on the name's row at x 300, as it always has.
xdotool type --delay 120 "Ann"
wait_for 3 "typed name not shown" text_shown 200x40+100+345
shot "$WORK/short.png"
boxes=$(text_boxes "$WORK/short.png")
[ "$(echo "$boxes" | wc -l)" = 2 ] || fail "not a name and a prompt: ${boxes//$'\n'/ }"
short_name=$(name_box "$boxes")
short_prompt=$(prompt_box "$boxes")
[ -n "$short_name" ] || fail "no name at (100, 350): ${boxes//$'\n'/ }"
{ [ "$(field "$short_prompt" 3)" -ge 300 ] && [ "$(field "$short_prompt" 3)" -le 303 ] &&
    [ "$(field "$short_prompt" 4)" -ge 350 ] && [ "$(field "$short_prompt" 4)" -le 356 ]; } ||
    fail "prompt of a short name moved: $short_prompt"

# The longest name, of the widest letters.
press BackSpace BackSpace BackSpace
longest=WWWWWWWWWWWWWWWWW
xdotool type --delay 120 "$longest"
sleep 0.3
shot "$WORK/long.png"
boxes=$(text_boxes "$WORK/long.png")
[ "$(echo "$boxes" | wc -l)" = 2 ] ||
    fail "name and prompt are not two lines apart: ${boxes//$'\n'/ }"
long_name=$(name_box "$boxes")
long_prompt=$(prompt_box "$boxes")
[ -n "$long_name" ] || fail "no name at (100, 350): ${boxes//$'\n'/ }"
[ "$(field "$long_name" 1)" -gt $((4 * $(field "$short_name" 1))) ] ||
    fail "the name is not the long one: $long_name, short $short_name"
! touching "$long_name" "$long_prompt" || fail "name $long_name touches prompt $long_prompt"
inside_window "$long_name" || fail "name $long_name leaves the window"
inside_window "$long_prompt" || fail "prompt $long_prompt leaves the window"
# Whole: the prompt is as big as it was beside the short name.
[ "${long_prompt%%+*}" = "${short_prompt%%+*}" ] ||
    fail "prompt $long_prompt is not whole (beside a short name $short_prompt)"

# Stored, the line ends inside the left column of the list.
press Return Return
wait_for_screen addscorebg.png 10 "add-score screen"
press Return
wait_for 5 "no score stored" has_lines "$PLAY/highscore.txt" 1
grep -q -- " points - $longest\$" "$PLAY/highscore.txt" ||
    fail "stored: $(cat "$PLAY/highscore.txt")"
wait_for 3 "the stored line is not shown" text_shown 250x26+50+60
[ "$(text_pixels 340x26+300+60)" = 0 ] || fail "the stored line runs into the right column"

press Escape
wait_for_exit
echo "game over after ${took}s; short name $short_name, prompt $short_prompt;" \
    "longest name $long_name, prompt $long_prompt; stored line within its column"
