#!/usr/bin/env bash
# The committed pictures are what their generator draws today: a drawing changed without
# redrawing (make pictures) shows up here.
set -euo pipefail
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$GENERATOR" "$out" >/dev/null
stale=0
for picture in "$ASSET_DIR"/*.png; do
    if ! cmp -s "$picture" "$out/$(basename "$picture")"; then
        echo "stale: $(basename "$picture") differs from what the generator draws" >&2
        stale=1
    fi
done
drawn=$(ls "$out"/*.png | wc -l)
committed=$(ls "$ASSET_DIR"/*.png | wc -l)
[ "$drawn" = "$committed" ] || { echo "generator draws $drawn pictures, $committed committed" >&2; stale=1; }
[ "$stale" = 0 ] && echo "$committed pictures match their generator"
exit "$stale"
