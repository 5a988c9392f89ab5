#!/usr/bin/env bash
# The committed pictures and icons are what their generator draws today: a drawing changed
# without redrawing (make pictures) shows up here.
set -euo pipefail
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$GENERATOR" "$out" >/dev/null
stale=0
committed=$(cd "$ASSET_DIR" && ls ./*.png icons/*.png)
for picture in $committed; do
    if ! cmp -s "$ASSET_DIR/$picture" "$out/$picture"; then
        echo "stale: $picture differs from what the generator draws" >&2
        stale=1
    fi
done
drawn=$(cd "$out" && ls ./*.png icons/*.png)
[ "$drawn" = "$committed" ] || {
    echo "generator draws: ${drawn//$'\n'/ }; committed: ${committed//$'\n'/ }" >&2
    stale=1
}
[ "$stale" = 0 ] && echo "$(echo "$committed" | wc -l) pictures and icons match their generator"
exit "$stale"
