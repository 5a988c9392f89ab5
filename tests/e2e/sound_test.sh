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

# From the first sound on, the samples written since an offset against fire.wav's own: the
# mixer makes each 8-bit sample 16-bit (times 256; times 32767/128 on the layer over SDL 2) and
# plays it on both sides. Prints how many were compared, the sound's length and the mismatches.
compare_with_fire() {
    local at
    at=$(grep -obUa data "$PLAY/fire.wav" | head -n 1 | cut -d: -f1)
    od -An -t u1 -v -j "$((at + 8))" -N "$(od -An -t u4 -j "$((at + 4))" -N 4 "$PLAY/fire.wav")" \
        "$PLAY/fire.wav" | tr -s ' ' '\n' | grep . >"$WORK/fire.u8"
    od -An -t d2 -v -j "$1" -N "$(($2 - $1))" "$SDL_DISKAUDIOFILE" | tr -s ' ' '\n' | grep . |
        awk 'NR % 2 == 1' >"$WORK/left.s16"
    awk 'NR == FNR {if (n || $1 != 128) want[n++] = $1 - 128; next}
         $1 != 0 {playing = 1}
         playing && i < n {d = $1 / 256 - want[i++]; if (d > 1 || d < -1) bad++}
         END {print i, n, bad + 0}' "$WORK/fire.u8" "$WORK/left.s16"
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
# And what sounds is the fire sound itself, not another effect's.
sleep 0.3
read -r compared fire_length mismatched <<<"$(compare_with_fire "$quiet_to" "$(written)")"
[ "$compared" = "$fire_length" ] || fail "only $compared of the $fire_length samples of fire.wav heard"
[ "$mismatched" = 0 ] || fail "the shot is not fire.wav: $mismatched of its $compared samples differ"

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
echo "silent menu and bombs, shot peak $shot_peak ($fire_length samples of fire.wav), silent while muted, peak $again_peak unmuted"
