#!/usr/bin/env bash
# Sound end to end: the game plays into SDL's disk audio driver, which writes every sample the
# mixer makes to a file, and the file is read back between the key presses. Silent on the menu
# and while bombs fall, loud after a shot, silent again while muted.
source "$(dirname "$0")/lib.sh"
start_x

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw"
# One buffer of about 23 ms every 20 ms: close to real time, and the file never falls behind.
export SDL_DISKAUDIODELAY=20
readonly LOUD=1000  # out of 32767: far above rounding, far below any effect

written() { stat -c %s "$SDL_DISKAUDIOFILE"; }

# The loudest sample (signed 16-bit, as the mixer writes them) between two offsets of the file.
peak() {
    od -An -t d2 -v -j "$1" -N "$(($2 - $1))" "$SDL_DISKAUDIOFILE" |
        awk '{for (i = 1; i <= NF; i++) {v = $i < 0 ? -$i : $i; if (v > m) m = v}} END {print m + 0}'
}

start_game
[ -f "$SDL_DISKAUDIOFILE" ] || fail "the mixer did not open the disk audio driver"
menu_from=$(written)
sleep 0.5
menu_to=$(written)
[ "$menu_to" -gt "$menu_from" ] || fail "no samples written: the mixer is not running"
[ "$(peak "$menu_from" "$menu_to")" = 0 ] || fail "sound on the menu before any key"

# A cannon that stands still is soon hit, so everything that needs play comes early: the first
# bomb needs well over a second to fall to the cannon.
press Return
wait_for 5 "no play after Return" cannon_shown
quiet_from=$(written)
sleep 0.5
quiet_to=$(written)
[ "$(peak "$quiet_from" "$quiet_to")" = 0 ] || fail "sound in play before a shot (a bomb?)"

# Waits until the samples written since an offset hold a loud one; its peak in HEARD.
heard_since() {
    HEARD=$(peak "$1" "$(written)")
    [ "$HEARD" -gt "$LOUD" ]
}

press space
wait_until 3 heard_since "$quiet_to" || fail "a shot was not heard (peak $HEARD)"
shot_peak=$HEARD

# M shows nothing, so the mute has a moment to be taken before the silence is measured.
press m
sleep 0.3
muted_from=$(written)
press space space space
sleep 0.4
muted_to=$(written)
[ "$(peak "$muted_from" "$muted_to")" = 0 ] || fail "sound while muted"

press m space
wait_until 3 heard_since "$muted_to" || fail "no sound once unmuted (peak $HEARD)"
again_peak=$HEARD

# The window's close box ends the game on every screen, game over included.
close_window
wait_for_exit
[ "$GAME_STATUS" = 0 ] || fail "the game ended with status $GAME_STATUS"
# SDL's disk driver announces itself; the game adds nothing.
extra=$(grep -v -e 'disk writer audio driver' -e 'Writing to file' "$WORK/game.log" || true)
[ -z "$extra" ] || fail "unexpected output: $extra"
echo "silent menu and bombs, shot peak $shot_peak, silent while muted, peak $again_peak unmuted"
