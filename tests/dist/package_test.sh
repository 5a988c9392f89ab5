#!/usr/bin/env bash
# The Debian package of this build: the files of an install and nothing else, no font of its own,
# and, unpacked into a scratch root, a game that plays through its launcher.
source "$(dirname "$0")/../e2e/lib.sh"
source "$(dirname "$0")/launcher.sh"

cpack --config "$BUILD_DIR/CPackConfig.cmake" -B "$WORK/package" >"$WORK/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$WORK/cpack.log")"
deb=$(ls "$WORK"/package/arcade-game_"$VERSION"_*.deb) || fail "no package: $(ls "$WORK/package")"

dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/||' | sort >"$WORK/packaged"
cmake --install "$BUILD_DIR" --prefix "$WORK/layout" >/dev/null || fail "install failed"
(cd "$WORK/layout" && find . ! -type d | sed 's|^\./||' | sort) >"$WORK/installed"
diff -u "$WORK/installed" "$WORK/packaged" >&2 || fail "the package's files differ from an install"
! grep -i '\.ttf$' "$WORK/packaged" || fail "the package carries a font"
dpkg-deb -f "$deb" Depends | grep -q 'fonts-liberation2' || fail "no dependency on the font"
# The game plays without the mixer, in silence.
dpkg-deb -f "$deb" Recommends | grep -qF 'libsdl-mixer1.2 (>= 1.2.12)' || fail "the mixer is not recommended"
! dpkg-deb -f "$deb" Depends | grep -q 'mixer' || fail "the package depends on the mixer"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section is $(dpkg-deb -f "$deb" Section)"

dpkg-deb -x "$deb" "$WORK/root"
check_launcher "$WORK/root/usr"
echo "$(wc -l <"$WORK/packaged") files, as installed"
