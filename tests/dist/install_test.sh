#!/usr/bin/env bash
# make install as a player gets it: everything under a prefix of one's own, the desktop entry and
# the AppStream data valid, and the game played through the launcher; then make uninstall, which
# leaves nothing but the player's own files.
source "$(dirname "$0")/../e2e/lib.sh"
source "$(dirname "$0")/launcher.sh"
source_dir=$(cd "$(dirname "$0")/../.." && pwd)

prefix="$WORK/prefix"
cmake --install "$BUILD_DIR" --prefix "$prefix" >"$WORK/install.log" || fail "install failed"
# This install's own list, before another install from the same build writes its own there.
mkdir -p "$WORK/listed"
cp "$BUILD_DIR/install_manifest.txt" "$WORK/listed/"
desktop-file-validate "$prefix/share/applications/arcade-game.desktop" ||
    fail "desktop entry not valid"
grep -qx "Exec=$prefix/games/arcade-game" "$prefix/share/applications/arcade-game.desktop" ||
    fail "the desktop entry does not start the launcher"
# The component id is the plain name until the game has a domain of its own; see README.
appstreamcli validate --no-net --override=cid-desktopapp-is-not-rdns=info \
    "$prefix/share/metainfo/arcade-game.metainfo.xml" || fail "AppStream data not valid"
for size in 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/arcade-game.png"
    [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "no ${size}px icon"
done
pages=(man6/arcade-game.6)
[ "$ARCADE_SERVER" = ON ] && pages+=(man8/arcade-scores.8)
for page in "${pages[@]}"; do
    man -l "$prefix/share/man/$page.gz" 2>&1 >/dev/null | grep . && fail "$page warns"
done
if [ "$ARCADE_SERVER" = ON ]; then
    "$prefix/sbin/arcade-scores" --version | grep -qx "arcade-scores [0-9.]*" ||
        fail "the score server is not installed in sbin"
    # Outside /usr the unit and its options stay under the prefix, and name them there.
    unit="$prefix/lib/systemd/system/arcade-scores.service"
    grep -qx "EnvironmentFile=-$prefix/etc/default/arcade-scores" "$unit" ||
        fail "the unit does not name its options"
    grep -q "^ExecStart=$prefix/sbin/arcade-scores " "$unit" || fail "the unit does not start the server"
fi

check_launcher "$prefix"

make -C "$source_dir" --no-print-directory uninstall BUILD_DIR="$WORK/listed" PREFIX="$prefix" \
    >"$WORK/uninstall.log" 2>&1 || fail "make uninstall failed: $(cat "$WORK/uninstall.log")"
left=$(find "$prefix" ! -type d)
[ -z "$left" ] || fail "make uninstall left in the prefix: $left"
# The player's scores, replays and settings stay, and nothing else: no link to the gone install.
left=$(cd "$HOME" && find . ! -type d | sort)
unexpected=$(echo "$left" | grep -v -e '^\./\.local/share/arcade-game/highscore\.txt$' \
    -e '^\./\.local/share/arcade-game/last\.replay$' \
    -e '^\./\.local/share/arcade-game/replays/.*\.replay$' \
    -e '^\./\.config/arcade-game/settings$' || true)
[ -z "$unexpected" ] || fail "make uninstall left beside the player's files: $unexpected"
echo "make uninstall left the prefix empty and in the home folder only: ${left//$'\n'/ }"
