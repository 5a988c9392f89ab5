# shellcheck shell=bash
# Score servers for the tests and the benchmark, each on a free port of 127.0.0.1, with a site
# folder; needs curl. Sourced by bash; SERVER is the arcade-scores to start.
#
#   start_score_server WORK DB [OPTION...]   starts one with --db DB (and the options) and waits
#                                            until it answers; sets SCORE_SERVER_PORT
#   post_replay PORT FILE                    posts a replay file, prints the HTTP status
#   list_scores PORT                         prints the table as GET /api/scores gives it
#   stop_score_servers                       stops every server started here
#   show_score_server_logs                   prints their logs on standard error

SCORE_SERVER_PIDS=()
SCORE_SERVER_LOGS=()
# shellcheck disable=SC2034 # for the scripts that source this one
SCORE_SERVER_PORT=""
SCORE_SERVER_WAIT_SECONDS=30

list_scores() {
    curl -sf --max-time 10 "http://127.0.0.1:$1/api/scores"
}

post_replay() {
    curl -s -o /dev/null -w '%{http_code}' --max-time 30 \
        -H 'Content-Type: application/octet-stream' --data-binary "@$2" \
        "http://127.0.0.1:$1/api/scores"
}

start_score_server() {
    local work=$1 db=$2 log tries port
    shift 2
    log="$work/server-${#SCORE_SERVER_LOGS[@]}.log"
    mkdir -p "$work/site"
    # Port 0: the server takes a free one and names it in its first line.
    "$SERVER" --bind 127.0.0.1 --port 0 --site "$work/site" --db "$db" "$@" >"$log" 2>&1 &
    SCORE_SERVER_PIDS+=("$!")
    SCORE_SERVER_LOGS+=("$log")
    tries=$((SCORE_SERVER_WAIT_SECONDS * 10))
    while [ "$tries" -gt 0 ]; do
        port=$(sed -n 's|^Serving .* on http://127\.0\.0\.1:\([0-9]*\)/.*|\1|p' "$log")
        if [ -n "$port" ] && list_scores "$port" >/dev/null; then
            # shellcheck disable=SC2034
            SCORE_SERVER_PORT=$port
            return 0
        fi
        kill -0 "${SCORE_SERVER_PIDS[-1]}" 2>/dev/null || break
        sleep 0.1
        tries=$((tries - 1))
    done
    return 1
}

stop_score_servers() {
    local pid
    for pid in "${SCORE_SERVER_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    SCORE_SERVER_PIDS=()
}

show_score_server_logs() {
    local log
    for log in "${SCORE_SERVER_LOGS[@]}"; do
        sed "s|^|$(basename "$log" .log): |" "$log" >&2 2>/dev/null || true
    done
}
