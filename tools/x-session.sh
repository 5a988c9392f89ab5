# shellcheck shell=bash
# A private X server for the scripts that play the real game in a real window: the end-to-end
# tests, the screenshots and the whole-process benchmark all start theirs here. Sourced by bash.
#
#   start_xvfb GEOMETRY LOG        Xvfb with one screen of GEOMETRY (WxHxDEPTH), its output in
#                                  LOG; sets XVFB_PID and exports DISPLAY, or fails after 20 s
#   wait_until SECONDS COMMAND...  runs COMMAND every 50 ms until it succeeds, for at most about
#                                  SECONDS (whole seconds)
#   wait_for_window TITLE SECONDS  sets WINDOW to the first window of exactly that title

start_xvfb() {
    local geometry=$1 log=$2 number="" fd
    # The server picks a free display itself and writes its number once it takes clients, so
    # two scripts starting at once never reach for the same one. One read with one deadline, so
    # the number is never split. -noreset: otherwise the server resets whenever its last client
    # leaves, and turns away a client that connects meanwhile.
    exec {fd}<> <(:)
    Xvfb -displayfd "$fd" -screen 0 "$geometry" -nolisten tcp -noreset >"$log" 2>&1 &
    XVFB_PID=$!
    read -r -t 20 number <&"$fd" || true
    exec {fd}<&-
    if [ -z "$number" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=""
        return 1
    fi
    export DISPLAY=":$number"
}

wait_until() {
    local tries=$(($1 * 20))
    shift
    while [ "$tries" -gt 0 ]; do
        "$@" && return 0
        sleep 0.05
        tries=$((tries - 1))
    done
    return 1
}

window_titled() {
    WINDOW=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1 || true)
    [ -n "$WINDOW" ]
}

wait_for_window() {
    wait_until "$2" window_titled "$1"
}
