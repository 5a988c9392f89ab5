#!/usr/bin/env bash
# Two score servers on one PostgreSQL database, as on two machines behind one address: a game
# posted to one is listed by the other, and a score acknowledged just before the database is
# killed outright is there again once it has restarted.
#   SERVER=arcade-scores MAKE_REPLAYS=arcade-make-replays two_servers_test.sh
set -euo pipefail
: "${SERVER:?the score server}" "${MAKE_REPLAYS:?the replay maker}"
HERE=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../tools/postgres-session.sh
source "$HERE/../../tools/postgres-session.sh"
# shellcheck source=../../tools/score-servers.sh
source "$HERE/../../tools/score-servers.sh"

WORK=$(mktemp -d "${TMPDIR:-/tmp}/arcade-two-servers-XXXXXX")
trap 'stop_score_servers; stop_postgres; rm -rf "$WORK"' EXIT
fail() {
    echo "FAIL: $*" >&2
    show_score_server_logs
    exit 1
}

# A server answers from the table it read less than a second ago: another's post is listed by it
# within two.
lists_soon() {
    local tries=20
    until list_scores "$1" | grep -q " - $2\$"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

start_postgres
"$MAKE_REPLAYS" 2 "$WORK/replays" >/dev/null
games=("$WORK"/replays/*.replay)
[ "${#games[@]}" -eq 2 ] || fail "the replay maker made ${#games[@]} games, not 2"
first=$(basename "${games[0]}" .replay)
second=$(basename "${games[1]}" .replay)

start_score_server "$WORK" "$ARCADE_PG_URL" || fail "the first server did not start"
one=$SCORE_SERVER_PORT
start_score_server "$WORK" "$ARCADE_PG_URL" || fail "the second server did not start"
two=$SCORE_SERVER_PORT

# A crowd of players connecting at once waits in the queue; a short one drops them for seconds.
backlog=$(ss -Hltn "sport = :$one" | awk '{print $3; exit}')
[ "${backlog:-0}" -ge 128 ] || fail "the server queues only ${backlog:-no} waiting connections"

status=$(post_replay "$one" "${games[0]}")
[ "$status" = 201 ] || fail "posting $first to the first server: $status"
lists_soon "$two" "$first" || fail "the second server does not list $first"

# The database dies without a word, after the post was acknowledged, and comes back.
kill_postgres || fail "the database could not be killed"
restart_postgres || fail "the database did not come back"
list_scores "$two" | grep -q " - $first\$" ||
    fail "after the database's restart the second server does not list $first"
status=$(post_replay "$two" "${games[1]}")
[ "$status" = 201 ] || fail "posting $second after the database's restart: $status"
lists_soon "$one" "$second" || fail "the first server does not list $second"
echo "two servers on one database: both games listed by both, one of them across a kill -9"
