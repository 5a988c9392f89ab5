# shellcheck shell=bash
# The files of the house, one a line, relative to SOURCE_DIR (the current folder): what git
# tracks, or in a copy without git every file outside the builds.
house_files() {
    git ls-files 2>/dev/null ||
        find . -type f -not -path './build*' -not -path './.git/*' -not -path './run/*' |
        sed 's|^\./||'
}
