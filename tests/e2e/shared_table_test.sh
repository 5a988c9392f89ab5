#!/usr/bin/env bash
# The desktop game with a real arcade-scores on this machine: a game posted and listed; the shared
# table on the list with the player's line marked, and its best game watched; a game stored while the table is away kept in
# the outbox and sent once it is back, with no new start; a game left by a killed game sent at the
# next start, named in the settings; another version's game refused once and never again; and a
# table that never answers, or a black hole, changing no frame's pace while the game ends at once.
#
# Expects, beyond lib.sh's: SCORES (arcade-scores), FLIP_TIMES (the preloaded flip probe);
# SHOTS, a folder to keep the screenshots in, if wanted.
source "$(dirname "$0")/lib.sh"

SERVER_PID=""
SILENT_PID=""
stop_all() {
    if [ -n "$SERVER_PID" ]; then kill "$SERVER_PID" 2>/dev/null || true; fi
    if [ -n "$SILENT_PID" ]; then kill "$SILENT_PID" 2>/dev/null || true; fi
    cleanup
}
trap stop_all EXIT

free_port() {
    /usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
PORT=$(free_port)
URL="http://127.0.0.1:$PORT"
OUTBOX="$PLAY/outbox"

table_answers() { curl -fs -o /dev/null "$URL/api/scores"; }
table() { curl -fsS "$URL/api/scores"; }
start_server() {
    "$SCORES" --port "$PORT" --db "sqlite:$WORK/scores.sqlite" >>"$WORK/server.log" 2>&1 &
    SERVER_PID=$!
    wait_for 10 "arcade-scores did not start on port $PORT" table_answers
}
stop_server() {
    kill "$SERVER_PID"
    wait "$SERVER_PID" || true
    SERVER_PID=""
}
waiting_games() { find "$OUTBOX" -maxdepth 1 -name '*.replay' 2>/dev/null | wc -l; }
outbox_holds() { [ "$(waiting_games)" = "$1" ]; }
table_has() { [ "$(table | wc -l)" = "$1" ]; }
logged() { grep -q -- "$1" "$WORK/game.log"; }
keep_shot() { if [ -n "${SHOTS:-}" ]; then mkdir -p "$SHOTS" && shot "$SHOTS/$1"; fi; }

# The list's rows: the line just stored in gold, the label in the keys' blue in the last row, and
# the line about the table in the game's magenta in the row above.
gold_in() { shot "$WORK/list.png" && count_colour "$WORK/list.png" "$1" 255,215,64; }
label_row() { shot "$WORK/list.png" && /usr/bin/convert "$WORK/list.png" -crop 580x26+50+450 +repage "$1"; }
status_row() { shot "$WORK/list.png" && /usr/bin/convert "$WORK/list.png" -crop 580x26+50+420 +repage "$1"; }
status_changed() { status_row "$WORK/status-now.png" && [ "$(differing_pixels "$WORK/status-now.png" "$1")" != 0 ]; }
row_shows() { [ "$(count_colour "$1" 580x26+0+0 "$2")" -gt 0 ]; }
first_row_marked() { [ "$(gold_in 240x26+50+60)" -gt 0 ]; }

# Ends the game on its list or menu; EXIT_MS says how long the exit took.
escape_timed() {
    local pressed
    pressed=$(date +%s%N)
    xdotool key Escape
    wait_for_exit
    EXIT_MS=$((($(date +%s%N) - pressed) / 1000000))
}

start_x

# A game posted and listed; the shared table with the player's line marked.
start_server
start_game --scores-server "$URL"
press Return
wait_for_game_over 150 >/dev/null
xdotool type --delay 120 "Ada"
press Return Return Return
wait_for 10 "the game was not listed: $(table)" table_has 1
first=$(table)
[[ "$first" =~ ^[0-9]+\ points\ -\ Ada$ ]] || fail "the table lists '$first'"
wait_for 5 "the post was not said on standard error" logged "lists $first"
[ "$(waiting_games)" = 0 ] || fail "the outbox keeps a game the table listed"
first_row_marked || fail "this computer's list does not mark the line stored"
label_row "$WORK/label-local.png"
row_shows "$WORK/label-local.png" 170,190,230 || fail "no label below this computer's list"
status_row "$WORK/status-sent.png"
row_shows "$WORK/status-sent.png" 255,0,255 || fail "no line saying how the post went"
keep_shot local-list-after-post.png
press Tab
label_row "$WORK/label-shared.png"
[ "$(differing_pixels "$WORK/label-shared.png" "$WORK/label-local.png")" != 0 ] ||
    fail "Tab did not name the shared table"
wait_for 5 "the shared table does not mark the player's line" first_row_marked
keep_shot shared-list.png
# R there fetches the table's best game, proves it here and plays it; Escape brings the table back.
label_differs() { label_row "$WORK/label-now.png" && [ "$(differing_pixels "$WORK/label-now.png" "$1")" != 0 ]; }
label_is() { label_row "$WORK/label-now.png" && [ "$(differing_pixels "$WORK/label-now.png" "$1")" = 0 ]; }
press r
wait_for 10 "R on the shared table watched no game" label_differs "$WORK/label-shared.png"
keep_shot shared-best-game-watched.png
press Escape
wait_for 5 "the shared table did not come back after the watch" label_is "$WORK/label-shared.png"
press Tab

# The table goes away: the next game waits in the outbox, the game plays on, and once the table
# is back the game is sent without a new start.
stop_server
press Return
wait_for_screen menu.png 10 "the menu after the list"
press Return
wait_for_game_over_with_name 150 >/dev/null
xdotool type --delay 120 "b"
press Return Return Return
wait_for 10 "the game stored while the table was away is not in the outbox" outbox_holds 1
wait_for 10 "no word of the table being away" logged "did not take the game"
status_row "$WORK/status-waiting.png"
keep_shot list-while-table-away.png
press Tab
label_row "$WORK/label-away.png"
[ "$(differing_pixels "$WORK/label-away.png" "$WORK/label-shared.png")" = 0 ] ||
    fail "the list no longer takes Tab while the table is away"
press Tab
start_server
started=$SECONDS
wait_for 12 "the game waiting in the outbox was not sent once the table was back" outbox_holds 0
wait_for 5 "the table does not list the game sent later: $(table)" table_has 2
wait_for 5 "the list does not say the game was sent" status_changed "$WORK/status-waiting.png"
echo "sent $((SECONDS - started))s after the table came back"
keep_shot list-after-table-came-back.png

# Away again: a game in the outbox outlives kill -9 of the game, byte for byte.
stop_server
press Return
wait_for_screen menu.png 10 "the menu after the second list"
press Return
wait_for_game_over_with_name 150 >/dev/null
xdotool type --delay 120 "c"
press Return Return Return
wait_for 10 "the third game is not in the outbox" outbox_holds 1
kept=$(find "$OUTBOX" -name '*.replay')
kill -9 "$GAME_PID"
wait "$GAME_PID" 2>/dev/null || true
GAME_PID=""
cmp -s "$kept" "$PLAY/last.replay" || fail "the outbox does not hold the game killed, whole"

# Beside it, a game of another version of the game, which the table refuses for good.
/usr/bin/python3 - "$PLAY/last.replay" "$OUTBOX/000000000000000-000.replay" <<'EOF'
import sys
data = bytearray(open(sys.argv[1], 'rb').read())
length = data[5]
data[6:6 + length] = b'0' * length  # "1.0.0" becomes "00000": the same length, another version
check = 0x811c9dc5
for byte in data[:-4]:
    check = ((check ^ byte) * 0x01000193) & 0xffffffff
data[-4:] = check.to_bytes(4, 'little')
open(sys.argv[2], 'wb').write(data)
EOF

# The next start sends both, the table named in the settings this time.
start_server
printf 'scores_server = %s\n' "$URL" >"$WORK/settings"
start_game --settings "$WORK/settings"
wait_for 12 "the games left in the outbox were not sent at the start" outbox_holds 0
wait_for 5 "the killed game's score is not listed: $(table)" table_has 3
wait_for 5 "the other version's refusal is not named" logged "the shared table runs version"
sleep 7
refusals=$(grep -c '^POST /api/scores 422 ' "$WORK/server.log" || true)
[ "$refusals" = 1 ] || fail "the refused game was posted $refusals times"
escape_timed
took=$EXIT_MS
echo "listed: $(table | tr '\n' ',')"

# A table that takes the connection and never answers, then one whose address swallows every
# connection attempt: the frames keep their pace beside a game that names no table, and the game
# ends at once with a post and a fetch under way.
silent_table() {
    SILENT_PORT=$(free_port)
    /usr/bin/python3 - "$SILENT_PORT" "$1" <<'EOF' &
import socket, sys, time
port, kind = int(sys.argv[1]), sys.argv[2]
server = socket.socket()
server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
server.bind(('127.0.0.1', port))
held = []
if kind == 'hanging':
    server.listen(16)
    while True:
        held.append(server.accept()[0])  # read nothing, answer nothing
else:
    # A queue of one that is never taken from, filled at once: later attempts are dropped
    # unanswered, as on the way to an address that does not exist.
    server.listen(0)
    for _ in range(4):
        held.append(socket.socket())
        held[-1].setblocking(False)
        held[-1].connect_ex(('127.0.0.1', port))
    time.sleep(600)
EOF
    SILENT_PID=$!
    sleep 0.5
}
# Frame intervals of a run, in milliseconds: "median p99 longest".
paced() {
    awk 'NR > 1 {print $1 - last} {last = $1}' "$1" | sort -n |
        awk '{d[NR] = $1} END {printf "%.1f %.1f %.1f\n", d[int(NR / 2) + 1], d[int(NR * 0.99)], d[NR]}'
}
# A game waiting in the outbox from the start, the list opened, both sides shown, a few seconds
# of frames, Escape. The probe is preloaded into the game alone (the sanitizers' runtime then
# does not come first, which is no fault here).
run_paced() {
    local times=$1
    shift
    rm -rf "$OUTBOX" && mkdir -p "$OUTBOX" && cp "$PLAY/last.replay" "$OUTBOX/000000000000001-000.replay"
    GAME_WRAPPER=(env "ARCADE_FLIP_TIMES=$WORK/$times" "LD_PRELOAD=$FLIP_TIMES"
        ASAN_OPTIONS=verify_asan_link_order=0)
    start_game "$@"
    GAME_WRAPPER=()
    press space
    sleep 1
    press Tab
    sleep 2
    press Tab
    sleep 2
    escape_timed
}
declare -A exit_ms
run_paced flips-bare.txt
exit_ms[bare]=$EXIT_MS
silent_table hanging
run_paced flips-hanging.txt --scores-server "http://127.0.0.1:$SILENT_PORT"
exit_ms[hanging]=$EXIT_MS
[ "$(waiting_games)" = 1 ] || fail "a post the table never answered left the outbox"
kill "$SILENT_PID" && SILENT_PID=""
silent_table blackhole
run_paced flips-blackhole.txt --scores-server "http://127.0.0.1:$SILENT_PORT"
exit_ms[blackhole]=$EXIT_MS
kill "$SILENT_PID" && SILENT_PID=""
read -r bare_median bare_p99 bare_longest < <(paced "$WORK/flips-bare.txt")
for run in hanging blackhole; do
    read -r median p99 longest < <(paced "$WORK/flips-$run.txt")
    echo "frames with a $run table: median ${median} ms, p99 ${p99} ms, longest ${longest} ms;" \
        "without a table: ${bare_median}, ${bare_p99}, ${bare_longest}; exit ${exit_ms[$run]} ms" \
        "(without a table ${exit_ms[bare]} ms)"
    awk -v m="$median" -v b="$bare_median" 'BEGIN {exit !(m - b < 2 && b - m < 2)}' ||
        fail "frames with a $run table take ${median} ms, not ${bare_median} ms as without one"
    awk -v l="$longest" 'BEGIN {exit !(l < 1000)}' ||
        fail "a frame waited ${longest} ms with a $run table"
    [ "${exit_ms[$run]}" -lt 1500 ] || fail "the game took ${exit_ms[$run]} ms to end with a $run table"
done
echo "after a store: local list, shared list, the table away and back; killed game sent at the" \
    "next start with the other version's refused once (exit ${took} ms)"
