#!/usr/bin/env bash
# The Debian packages of this build: together the files of an install and nothing else; the game's
# with no font of its own and nothing of the server, the server's with nothing of the game's
# window; and, unpacked into a scratch root, a game that plays through its launcher.
source "$(dirname "$0")/../e2e/lib.sh"
source "$(dirname "$0")/launcher.sh"

cpack --config "$BUILD_DIR/CPackConfig.cmake" -B "$WORK/package" >"$WORK/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$WORK/cpack.log")"
game=$(ls "$WORK"/package/arcade-game_"$VERSION"_*.deb) || fail "no game package: $(ls "$WORK/package")"
if [ "$ARCADE_SERVER" = ON ]; then
    scores=$(ls "$WORK"/package/arcade-scores_"$VERSION"_*.deb) ||
        fail "no server package: $(ls "$WORK/package")"
else
    ! ls "$WORK"/package/arcade-scores_* 2>/dev/null || fail "a server package without the server"
    scores=""
fi

files() {
    dpkg-deb -c "$1" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort
}
files "$game" >"$WORK/game.files"
if [ -n "$scores" ]; then files "$scores"; fi >"$WORK/scores.files"
sort -m "$WORK/game.files" "$WORK/scores.files" >"$WORK/packaged"
DESTDIR="$WORK/layout" cmake --install "$BUILD_DIR" --prefix /usr >/dev/null || fail "install failed"
(cd "$WORK/layout" && find . ! -type d | sed 's|^\./||' | sort) >"$WORK/installed"
diff -u "$WORK/installed" "$WORK/packaged" >&2 || fail "the packages' files differ from an install"

# The font beside the pictures is only a link to the system's, relative within /usr.
font_entries=$(dpkg-deb -c "$game" | awk '$6 ~ /\.ttf$/')
[ "$(echo "$font_entries" | awk '$1 !~ /^l/' | grep -c .)" = 0 ] ||
    fail "the game's package carries a font: $font_entries"
[[ "$font_entries" == *"share/games/arcade-game/arial.ttf -> ../../"* ]] ||
    fail "the font is not linked relatively: $font_entries"
if [ -n "$scores" ]; then
    ! dpkg-deb -c "$scores" | grep -qi '\.ttf' || fail "the server's package carries a font"
fi
dpkg-deb -f "$game" Depends | grep -q 'fonts-liberation2' || fail "no dependency on the font"
# The game plays without the mixer, in silence.
dpkg-deb -f "$game" Recommends | grep -qF 'libsdl-mixer1.2 (>= 1.2.12)' || fail "the mixer is not recommended"
! dpkg-deb -f "$game" Depends | grep -q 'mixer' || fail "the game's package depends on the mixer"
[ "$(dpkg-deb -f "$game" Section)" = games ] || fail "section is $(dpkg-deb -f "$game" Section)"
# libcurl for the shared table a player may name: the game's alone, and only built with it.
if [ "$ARCADE_NETWORK" = ON ]; then
    dpkg-deb -f "$game" Depends | grep -q 'libcurl' || fail "the game does not depend on libcurl"
else
    ! dpkg-deb -f "$game" Depends | grep -q 'libcurl' || fail "a game without network needs libcurl"
fi
! grep -q arcade-scores "$WORK/game.files" || fail "the game's package carries the server"

if [ -n "$scores" ]; then
    # The server: in sbin with its manual page in section 8, a unit, its options kept as the host's.
    for file in usr/sbin/arcade-scores usr/share/man/man8/arcade-scores.8.gz \
        usr/lib/systemd/system/arcade-scores.service etc/default/arcade-scores \
        usr/share/doc/arcade-scores/copyright usr/share/arcade-scores/nginx/locations.conf; do
        grep -qx "$file" "$WORK/scores.files" || fail "the server's package has no $file"
    done
    dpkg-deb -I "$scores" conffiles | grep -qx /etc/default/arcade-scores ||
        fail "the options file is not kept as the host's own"
    depends=$(dpkg-deb -f "$scores" Depends)
    for unneeded in arcade-game fonts-liberation mixer libcurl; do
        [[ "$depends" != *"$unneeded"* ]] || fail "the server's package depends on $unneeded: $depends"
    done
fi

dpkg-deb -x "$game" "$WORK/root"
# The font the package depends on, where it would be installed.
mkdir -p "$WORK/root$(dirname "$FONT_FILE")"
ln -s "$(readlink -f "$FONT_FILE")" "$WORK/root$FONT_FILE"
check_launcher "$WORK/root/usr"
echo "$(wc -l <"$WORK/game.files") + $(wc -l <"$WORK/scores.files") files, as installed"
