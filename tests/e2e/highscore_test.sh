#!/usr/bin/env bash
# The whole road of a game in a real window: menu, play until a bomb, a typed name, the add-score
# screen, the list with the new line, back to the menu, and the list again from the menu. Named no
# shared table, the game opens no network socket on the way (its window's is a local one).
source "$(dirname "$0")/lib.sh"
printf '%s\n' "42 points - Grace" "05 points - Ken" >"$PLAY/highscore.txt"
start_x
# (The leak checker of a sanitized build cannot run under strace: every other test has it.)
GAME_WRAPPER=(strace -f --seccomp-bpf -e trace=socket -o "$WORK/sockets.log"
    -E ASAN_OPTIONS=detect_leaks=0)
start_game

# Rows of the list (30 pixels apart from y 60) that hold any text.
rows_with_text() {
    local rows=0 i
    shot "$WORK/list.png"
    for i in $(seq 0 13); do
        [ "$(count_colour "$WORK/list.png" "240x26+50+$((60 + 30 * i))" 255,0,255)" -gt 0 ] &&
            rows=$((rows + 1))
    done
    echo "$rows"
}

expect_screen() { wait_for_screen "$1" 10 "$2"; }

press Return
took=$(wait_for_game_over 150)

# Letters, a space, a Backspace that takes back the x, and punctuation that is no part of a name.
xdotool type --delay 120 "Ann Bx"
press BackSpace period comma exclam minus
press Return
[ "$(text_pixels 190x40+100+345)" = 0 ] || fail "name still drawn after it was confirmed"
[ "$(text_pixels 340x40+300+345)" -gt 0 ] || fail "no prompt to add the score"

press Return
expect_screen addscorebg.png "add-score screen"

press Return
wait_for 5 "no score stored: $(cat "$PLAY/highscore.txt")" has_lines "$PLAY/highscore.txt" 3
new_line=$(grep -v -e '^42 points - Grace$' -e '^05 points - Ken$' "$PLAY/highscore.txt" || true)
[[ "$new_line" =~ ^[0-9][0-9]+\ points\ -\ Ann\ B$ ]] || fail "stored line is '$new_line'"
[ "$(wc -l <"$PLAY/highscore.txt")" = 3 ] || fail "file has $(wc -l <"$PLAY/highscore.txt") lines"
LC_ALL=C sort -r "$PLAY/highscore.txt" | cmp -s - "$PLAY/highscore.txt" || fail "file is not in order"
[ "$(rows_with_text)" = 3 ] || fail "list does not show three lines"

press Return
expect_screen menu.png "menu after the list"
press space
[ "$(rows_with_text)" = 3 ] || fail "Space on the menu does not show the list"

# A second game in the same run: name entry starts from the first game's name, already shown.
press Return
expect_screen menu.png "menu after the second list"
press Return
took2=$(wait_for_game_over_with_name 150)
[ "$(text_pixels 190x40+100+345)" -gt 0 ] || fail "the first game's name is not shown again"
xdotool type --delay 120 "e"
press Return Return Return
wait_for 5 "no second score stored" has_lines "$PLAY/highscore.txt" 4
second_line=$(grep -e ' points - Ann Be$' "$PLAY/highscore.txt" || true)
[ -n "$second_line" ] || fail "second game stored no line for Ann Be: $(cat "$PLAY/highscore.txt")"
[ "$(wc -l <"$PLAY/highscore.txt")" = 4 ] || fail "file has $(wc -l <"$PLAY/highscore.txt") lines"
[ "$(rows_with_text)" = 4 ] || fail "list does not show four lines"

press Escape
wait_for_exit
[ "$GAME_STATUS" = 0 ] || fail "Escape ended the game with status $GAME_STATUS"
grep -q 'socket(AF_UNIX' "$WORK/sockets.log" || fail "no socket was watched: $(cat "$WORK/sockets.log")"
! grep -E 'socket\(AF_INET6?,' "$WORK/sockets.log" ||
    fail "the game opened a network socket with no shared table named"
echo "game over after ${took}s, stored '$new_line'; second game over after ${took2}s," \
    "stored '$second_line'; list 3 then 4 lines, menu, exit 0"
