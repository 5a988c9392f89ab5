#!/usr/bin/env bash
# The build as a packager meets it, configured only (nothing is compiled): the game alone, taken
# into another project, on a machine with SDL's libraries and none of the server's nor libcurl;
# the server and the game's network on that machine refused by name; PostgreSQL left out unless
# asked for, and refused loudly when asked for without libpqxx.
set -euo pipefail
SOURCE_DIR=$(cd "$(dirname "$0")/../.." && pwd)
WORK=$(mktemp -d /tmp/arcade-options-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Configures SOURCE into WORK/NAME with the pkg-config modules of folder PC only.
configure() {
    local name=$1 pc=$2 source=$3
    shift 3
    PKG_CONFIG_LIBDIR=$pc PKG_CONFIG_PATH='' cmake -S "$source" -B "$WORK/$name" \
        -DBUILD_TESTING=OFF "$@" >"$WORK/$name.log" 2>&1
}
# Whether the configured WORK/NAME has a target TARGET.
has_target() {
    cmake --build "$WORK/$1" --target help >"$WORK/$1.targets"
    grep -qx "\.\.\. $2" "$WORK/$1.targets"
}

# A machine with SDL's modules and nothing else.
mkdir "$WORK/sdl-only"
for module in SDL_image SDL_ttf SDL_mixer; do
    cp "$(pkg-config --path "$module")" "$WORK/sdl-only/"
done
cp "$(pkg-config --path sdl 2>/dev/null || pkg-config --path sdl12_compat)" "$WORK/sdl-only/"

# The game alone, as a folder of someone else's project.
mkdir "$WORK/outer"
cat >"$WORK/outer/CMakeLists.txt" <<OUTER
cmake_minimum_required(VERSION 3.18)
project(Outer LANGUAGES CXX)
add_subdirectory("$SOURCE_DIR" arcade)
OUTER
configure game "$WORK/sdl-only" "$WORK/outer" -DARCADE_SERVER=OFF -DARCADE_NETWORK=OFF ||
    fail "the game alone did not configure with SDL's libraries only: $(cat "$WORK/game.log")"
has_target game arcade-game || fail "the game alone has no arcade-game to build"
! has_target game arcade-scores || fail "ARCADE_SERVER=OFF still builds the server"
! configure network "$WORK/sdl-only" "$SOURCE_DIR" -DARCADE_SERVER=OFF ||
    fail "the game's network configured without libcurl"
grep -q 'ARCADE_NETWORK=ON, but libcurl is not found' "$WORK/network.log" ||
    fail "the network without libcurl said: $(cat "$WORK/network.log")"

! configure server "$WORK/sdl-only" "$SOURCE_DIR" -DARCADE_NETWORK=OFF ||
    fail "the server configured without its libraries"
grep -q 'A required package was not found' "$WORK/server.log" ||
    fail "the server's missing libraries were not named: $(cat "$WORK/server.log")"

# A machine with everything but libpqxx.
mkdir "$WORK/no-pqxx"
IFS=: read -ra folders <<<"$(pkg-config --variable pc_path pkg-config)"
for folder in "${folders[@]}"; do
    for file in "$folder"/*.pc; do
        [ -e "$file" ] && [ "${file##*/}" != libpqxx.pc ] && ln -sf "$file" "$WORK/no-pqxx/"
    done
done
configure sqlite "$WORK/no-pqxx" "$SOURCE_DIR" ||
    fail "the server without PostgreSQL did not configure: $(cat "$WORK/sqlite.log")"
has_target sqlite arcade-scores || fail "the server is not built by default"
! has_target sqlite arcade-postgres-store || fail "PostgreSQL was built unasked"
! configure postgres "$WORK/no-pqxx" "$SOURCE_DIR" -DARCADE_POSTGRES=ON ||
    fail "ARCADE_POSTGRES=ON configured without libpqxx"
grep -q 'ARCADE_POSTGRES=ON, but libpqxx is not found' "$WORK/postgres.log" ||
    fail "ARCADE_POSTGRES=ON without libpqxx said: $(cat "$WORK/postgres.log")"
echo "the game alone configures as a subproject with SDL's pkg-config modules only:" "$WORK"/sdl-only/*.pc | sed "s|$WORK/sdl-only/||g"
