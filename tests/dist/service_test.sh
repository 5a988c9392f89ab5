#!/usr/bin/env bash
# arcade-scores.service as systemd would run it, on a machine that runs no systemd: the unit's own
# command line, from its defaults and the options file as a host edits it, started as a user of
# its own that owns nothing but the state folder, in that folder. The table is made there; the
# server answers /healthz and /metrics and logs each request; a post under way when SIGTERM comes
# is answered and the server ends with 0; a backup made while it serves restores the table.
set -euo pipefail
: "${BUILD_DIR:?the build}" "${MAKE_REPLAYS:?the replay maker}"
WORK=$(mktemp -d /tmp/arcade-service-XXXXXX)
chmod 755 "$WORK"
SERVER_PID=""
cleanup() {
    if [ -n "$SERVER_PID" ]; then kill "$SERVER_PID" 2>/dev/null || true; fi
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -f "$WORK/server.log" ] && sed 's/^/server: /' "$WORK/server.log" >&2
    exit 1
}

root="$WORK/root"
DESTDIR="$root" cmake --install "$BUILD_DIR" --prefix /usr --component scores >/dev/null ||
    fail "the server's install failed"
unit="$root/usr/lib/systemd/system/arcade-scores.service"
defaults="$root/etc/default/arcade-scores"

# The unit as systemd reads it, among the system's own units, its manual page beside it.
if command -v systemd-analyze >/dev/null; then
    cp -rn /usr/lib/systemd/system/. "$root/usr/lib/systemd/system/"
    MANPATH="$root/usr/share/man" systemd-analyze verify --root="$root" \
        /usr/lib/systemd/system/arcade-scores.service >"$WORK/verify.log" 2>&1 ||
        fail "systemd-analyze verify: $(cat "$WORK/verify.log")"
    [ ! -s "$WORK/verify.log" ] || fail "systemd-analyze verify warns: $(cat "$WORK/verify.log")"
else
    echo "systemd-analyze is not installed: the unit is run, not verified" >&2
fi

# The host's edit: any free port, for the test.
sed -i 's/^PORT=.*/PORT=0/' "$defaults"

# The environment as systemd makes it: the unit's defaults, then the options file over them.
declare -A env
options_file="" exec_start="" directory=""
while IFS= read -r line; do
    case "$line" in
        Environment=*)
            read -ra pairs <<<"${line#Environment=}"
            for pair in "${pairs[@]}"; do env[${pair%%=*}]=${pair#*=}; done ;;
        EnvironmentFile=*) options_file=${line#EnvironmentFile=} ;;
        ExecStart=*) exec_start=${line#ExecStart=} ;;
        WorkingDirectory=*) directory=${line#WorkingDirectory=} ;;
    esac
done <"$unit"
[ "$options_file" = -/etc/default/arcade-scores ] || fail "the unit reads its options from $options_file"
[ "$directory" = %S/arcade-scores ] || fail "the unit runs in $directory, not its state folder"
while IFS= read -r line; do
    case "$line" in "" | "#"*) continue ;; esac
    env[${line%%=*}]=${line#*=}
done <"$defaults"

# Its command line: ${NAME} one word as it stands (empty too), $NAME split at spaces; the paths
# of the system as this test has them.
state="$WORK/state"
read -ra words <<<"$exec_start"
command=()
for word in "${words[@]}"; do
    if [[ $word =~ ^\$\{([A-Z_]+)\}$ ]]; then
        command+=("${env[${BASH_REMATCH[1]}]-}")
    elif [[ $word =~ ^\$([A-Z_]+)$ ]]; then
        read -ra split <<<"${env[${BASH_REMATCH[1]}]-}"
        command+=("${split[@]}")
    else
        command+=("$word")
    fi
done
for i in "${!command[@]}"; do
    argument=${command[$i]//\/var\/lib\/arcade-scores/$state}
    [[ $argument == /usr/* ]] && argument=$root$argument
    command[i]=$argument
done
exported=()
for name in "${!env[@]}"; do exported+=("$name=${env[$name]}"); done

# A user made for the service, as DynamicUser makes one: in no group, owning only its folder.
user=61999
! getent passwd "$user" >/dev/null || fail "user $user exists here"
mkdir -m 0750 "$state"
chown "$user:$user" "$state"
start() {
    : >"$WORK/server.out"
    (cd "$state" && exec env -i PATH=/usr/bin:/bin STATE_DIRECTORY="$state" "${exported[@]}" \
        setpriv --reuid="$user" --regid="$user" --clear-groups --no-new-privs -- "${command[@]}" \
        >"$WORK/server.out" 2>>"$WORK/server.log") &
    SERVER_PID=$!
    local tries=300
    port=""
    while [ -z "$port" ] && [ "$tries" -gt 0 ]; do
        kill -0 "$SERVER_PID" 2>/dev/null || fail "the service did not start: $(cat "$WORK/server.out")"
        port=$(sed -n 's|^Serving .* on http://127\.0\.0\.1:\([0-9]*\)/.*|\1|p' "$WORK/server.out")
        sleep 0.1
        tries=$((tries - 1))
    done
    [ -n "$port" ] || fail "the service named no port"
}
post() {
    curl -s -o /dev/null -w '%{http_code}' --max-time 30 -H 'Content-Type: application/octet-stream' \
        --data-binary "@$1" "http://127.0.0.1:$port/api/scores"
}

"$MAKE_REPLAYS" 3 "$WORK/games" >/dev/null
start
[ "$(post "$WORK/games/T0001.replay")" = 201 ] || fail "a post to the service was not stored"
[ "$(stat -c %u "$state/scores.sqlite")" = "$user" ] || fail "the table is not the service's own"
[ "$(curl -s "http://127.0.0.1:$port/healthz")" = ok ] || fail "/healthz is not ok"
curl -s "http://127.0.0.1:$port/metrics" >"$WORK/metrics"
grep -qx 'arcade_scores_table_rows 1' "$WORK/metrics" || fail "/metrics: $(cat "$WORK/metrics")"
grep -qx 'arcade_scores_posts_proven_total 1' "$WORK/metrics" || fail "/metrics: $(cat "$WORK/metrics")"
# The figures are the host's: another address of this machine is turned away.
[ "$(curl -s -o /dev/null -w '%{http_code}' --interface 127.0.0.2 "http://127.0.0.1:$port/metrics")" = 403 ] ||
    fail "/metrics answers an address it was not given"
grep -q '^POST /api/scores 201 [0-9]* [0-9.]*ms 127\.0\.0\.1$' "$WORK/server.log" ||
    fail "no line in the log for the post"

# The host's backup, taken while the service serves.
"$root/usr/sbin/arcade-scores" --db "sqlite:$state/scores.sqlite" --backup "$WORK/backup.sqlite" \
    >/dev/null || fail "the backup failed"

# SIGTERM with a post under way, its header in and half its body sent: it is stored and
# answered before the server ends, with 0.
python3 - "$port" "$WORK/games/T0002.replay" "$SERVER_PID" >"$WORK/answer" <<'PY' ||
import os, signal, socket, sys, time
port, game, server = int(sys.argv[1]), open(sys.argv[2], 'rb').read(), int(sys.argv[3])
with socket.create_connection(('127.0.0.1', port)) as connection:
    connection.sendall(b'POST /api/scores HTTP/1.1\r\nHost: 127.0.0.1\r\n'
                       b'Content-Type: application/octet-stream\r\n'
                       b'Content-Length: %d\r\n\r\n' % len(game) + game[:len(game) // 2])
    time.sleep(0.3)
    os.kill(server, signal.SIGTERM)
    time.sleep(0.3)
    connection.sendall(game[len(game) // 2:])
    connection.settimeout(30)
    print(connection.recv(4096).split(b'\r\n')[0].decode())
PY
    fail "the post under way was not answered"
[ "$(cat "$WORK/answer")" = "HTTP/1.1 201 Created" ] || fail "the post under way got $(cat "$WORK/answer")"
status=0
wait "$SERVER_PID" || status=$?
SERVER_PID=""
[ "$status" = 0 ] || fail "SIGTERM ended the service with $status"

# The backup put back in place: the game stored before it is listed, the one after it is not.
rm -f "$state"/scores.sqlite*
cp "$WORK/backup.sqlite" "$state/scores.sqlite"
chown "$user:$user" "$state/scores.sqlite"
start
curl -s "http://127.0.0.1:$port/api/scores" >"$WORK/listed"
grep -q ' - T0001$' "$WORK/listed" || fail "the restored table lacks the game before the backup"
! grep -q ' - T0002$' "$WORK/listed" || fail "the restored table has a game stored after the backup"
echo "the unit's command line served as user $user in its state folder; a post under SIGTERM answered;" \
    "a backup taken while serving restored"
