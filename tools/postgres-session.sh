# shellcheck shell=bash
# A throwaway PostgreSQL database for the score server's tests and benchmark: its own cluster in
# a fresh folder, reached only through a socket in that folder (no TCP port is opened), stopped
# and removed with the folder. PostgreSQL refuses to run as root, so the cluster belongs to an
# unprivileged user (postgres where the server package made one, else nobody). Sourced by bash.
#
#   start_postgres            makes and starts the cluster; sets PG_DIR and exports
#                             ARCADE_PG_URL, the --db of a database "arcade" in it; fails after
#                             a bounded wait
#   kill_postgres             kill -9 of the postmaster, then waits until none of its processes
#                             is left
#   restart_postgres          starts the cluster again (after kill_postgres it recovers first)
#   stop_postgres             stops the cluster and removes its folder; safe to call twice

PG_BIN=""
PG_DIR=""
PG_OWNER=""
PG_PORT=""
PG_WAIT_SECONDS=30

pg_as_owner() {
    runuser -u "$PG_OWNER" -- "$@"
}

pg_find_bin() {
    local dir
    for dir in /usr/lib/postgresql/*/bin; do
        [ -x "$dir/initdb" ] && PG_BIN=$dir
    done
    [ -n "$PG_BIN" ] || {
        echo "postgres-session: no initdb under /usr/lib/postgresql (package postgresql)" >&2
        return 1
    }
}

pg_postmaster_pid() {
    head -n 1 "$PG_DIR/data/postmaster.pid" 2>/dev/null
}

pg_ready() {
    "$PG_BIN/pg_isready" -q -h "$PG_DIR" -p "$PG_PORT" -t 1
}

pg_wait_ready() {
    local tries=$((PG_WAIT_SECONDS * 5))
    while [ "$tries" -gt 0 ]; do
        pg_ready && return 0
        sleep 0.2
        tries=$((tries - 1))
    done
    echo "postgres-session: the database did not answer within $PG_WAIT_SECONDS s" >&2
    sed 's/^/postgres: /' "$PG_DIR/log" >&2 2>/dev/null || true
    return 1
}

restart_postgres() {
    # -w waits until the server takes connections, -t bounds that wait.
    pg_as_owner "$PG_BIN/pg_ctl" start -w -t "$PG_WAIT_SECONDS" -D "$PG_DIR/data" \
        -l "$PG_DIR/log" -o "-k $PG_DIR -p $PG_PORT -c listen_addresses=''" >/dev/null &&
        pg_wait_ready
}

start_postgres() {
    pg_find_bin || return 1
    PG_OWNER=postgres
    id -u "$PG_OWNER" >/dev/null 2>&1 || PG_OWNER=nobody
    PG_DIR=$(mktemp -d "${TMPDIR:-/tmp}/arcade-pg-XXXXXX") || return 1
    chown "$PG_OWNER" "$PG_DIR"
    # Only the socket's file name carries the port, so any number will do; one per folder.
    PG_PORT=$((20000 + RANDOM % 20000))
    pg_as_owner "$PG_BIN/initdb" -D "$PG_DIR/data" -U arcade -A trust -E UTF8 --locale=C \
        >"$PG_DIR/initdb.log" 2>&1 || {
        sed 's/^/initdb: /' "$PG_DIR/initdb.log" >&2
        return 1
    }
    restart_postgres || return 1
    pg_as_owner "$PG_BIN/createdb" -h "$PG_DIR" -p "$PG_PORT" -U arcade arcade || return 1
    export ARCADE_PG_URL="postgresql:///arcade?host=$PG_DIR&port=$PG_PORT&user=arcade"
}

kill_postgres() {
    local pid children tries
    pid=$(pg_postmaster_pid)
    [ -n "$pid" ] || return 1
    children=$(pgrep -P "$pid" || true)
    kill -9 "$pid"
    # Its backends notice the postmaster is gone and leave; a new one cannot start while any
    # of them still holds the old shared memory.
    tries=$((PG_WAIT_SECONDS * 10))
    while [ "$tries" -gt 0 ]; do
        # shellcheck disable=SC2086 # one process id a word
        kill -0 "$pid" $children 2>/dev/null || return 0
        sleep 0.1
        tries=$((tries - 1))
    done
    echo "postgres-session: the killed database's processes did not leave" >&2
    return 1
}

stop_postgres() {
    [ -n "$PG_DIR" ] || return 0
    if [ -n "$(pg_postmaster_pid)" ]; then
        pg_as_owner "$PG_BIN/pg_ctl" stop -w -t "$PG_WAIT_SECONDS" -m fast -D "$PG_DIR/data" \
            >/dev/null 2>&1 || kill_postgres || true
    fi
    rm -rf "$PG_DIR"
    PG_DIR=""
}
