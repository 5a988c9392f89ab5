#!/usr/bin/env bash
# make install as a player gets it: everything under a prefix of one's own, the desktop entry and
# the AppStream data valid, and the game played through the launcher.
source "$(dirname "$0")/../e2e/lib.sh"
source "$(dirname "$0")/launcher.sh"

prefix="$WORK/prefix"
cmake --install "$BUILD_DIR" --prefix "$prefix" >"$WORK/install.log" || fail "install failed"
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
for page in arcade-game arcade-scores; do
    man -l "$prefix/share/man/man6/$page.6.gz" 2>&1 >/dev/null | grep . && fail "$page's man page warns"
done
"$prefix/games/arcade-scores" --version | grep -qx "arcade-scores [0-9.]*" ||
    fail "the score server is not installed beside the launcher"

check_launcher "$prefix"
