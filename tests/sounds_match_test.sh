#!/usr/bin/env bash
# The committed sounds are what their generator draws today: an effect changed without redrawing
# (make sounds) shows up here.
set -euo pipefail
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$GENERATOR" "$out" >/dev/null
stale=0
for sound in "$ASSET_DIR"/*.wav; do
    if ! cmp -s "$sound" "$out/$(basename "$sound")"; then
        echo "stale: $(basename "$sound") differs from what the generator draws" >&2
        stale=1
    fi
done
drawn=$(find "$out" -maxdepth 1 -name '*.wav' | wc -l)
committed=$(find "$ASSET_DIR" -maxdepth 1 -name '*.wav' | wc -l)
[ "$drawn" = "$committed" ] || { echo "generator draws $drawn sounds, $committed committed" >&2; stale=1; }
[ "$stale" = 0 ] && echo "$committed sounds match their generator ($(cat "$ASSET_DIR"/*.wav | wc -c) bytes)"
exit "$stale"
