#!/usr/bin/env bash
# Every shell script of the house passes shellcheck: those run by their #! line, and those
# sourced by others (named *.sh).
set -euo pipefail
cd "$SOURCE_DIR"
# shellcheck source=files.sh
source "$(dirname "$0")/files.sh"

scripts=()
while IFS= read -r file; do
    [ -f "$file" ] || continue
    if [[ "$file" == *.sh ]] || head -n 1 "$file" | grep -qE '^#!(/usr/bin/env (ba)?sh|/bin/(ba)?sh)'; then
        scripts+=("$file")
    fi
done < <(house_files)
[ "${#scripts[@]}" -gt 0 ] || { echo "no shell scripts found in $SOURCE_DIR" >&2; exit 1; }
shellcheck "${scripts[@]}"
echo "${#scripts[@]} shell scripts pass shellcheck"
