#!/usr/bin/env bash
# The longest name of wide letters after a game, in a real window: the name and its prompt stay
# whole, apart, inside the window and inside the picture's name box, a short name leaves the
# prompt where it always stood, and on a list of the longest lines every line of the left column
# ends 12 pixels short of the right one.
source "$(dirname "$0")/lib.sh"
start_x

# Twenty lines of the longest names: the left column is full of lines cut to fit, and the game
# played here, with no shot fired, stores its line below them, in the right column.
for points in $(seq 120 -1 101); do
    echo "$points points - WWWWWWWWWWWWWWWWW"
done >"$PLAY/highscore.txt"
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

# The box of the picture goes round both rows, with room: no pixel of its border within MARGIN of
# the text, and its border above the name and below the prompt.
MARGIN=4
BORDER=60,170,220
rows_top=$(($(field "$long_name" 4) - MARGIN))
rows_bottom=$(($(field "$long_prompt" 4) + $(field "$long_prompt" 2) + MARGIN))
rows_left=$(($(field "$long_name" 3) - MARGIN))
rows_right=$(($(field "$long_prompt" 3) + $(field "$long_prompt" 1) + MARGIN))
rows="$((rows_right - rows_left))x$((rows_bottom - rows_top))+$rows_left+$rows_top"
[ "$(count_colour "$WORK/long.png" "$rows" "$BORDER")" = 0 ] ||
    fail "the name box's border runs within $MARGIN pixels of name $long_name or prompt $long_prompt"
prompt_middle=$(($(field "$long_prompt" 3) + $(field "$long_prompt" 1) / 2))
[ "$(count_colour "$WORK/long.png" "1x30+$prompt_middle+$rows_bottom" "$BORDER")" -gt 0 ] ||
    fail "no border of the name box below prompt $long_prompt"
[ "$(count_colour "$WORK/long.png" "1x30+$prompt_middle+$((rows_top - 30))" "$BORDER")" -gt 0 ] ||
    fail "no border of the name box above name $long_name"

# Stored, the line ends inside the left column of the list.
press Return Return
wait_for_screen addscorebg.png 10 "add-score screen"
press Return
wait_for 5 "no score stored" has_lines "$PLAY/highscore.txt" 1
grep -q -- "^0[0-9] points - $longest\$" "$PLAY/highscore.txt" ||
    fail "stored: $(cat "$PLAY/highscore.txt")"
# The 21st line: the seventh row of the right column.
wait_for 3 "the stored line is not shown" text_shown 250x26+300+240
[ "$(text_pixels 238x420+50+60)" -gt 0 ] || fail "the left column shows no lines"
[ "$(text_pixels 12x420+288+60)" = 0 ] ||
    fail "a line of the left column runs into the 12 pixels before the right one"

press Escape
wait_for_exit
echo "game over after ${took}s; short name $short_name, prompt $short_prompt;" \
    "longest name $long_name, prompt $long_prompt, inside the name box;" \
    "12 pixels between the columns"
