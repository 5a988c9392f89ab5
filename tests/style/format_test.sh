#!/usr/bin/env bash
# Every C++ file of the house is laid out as .clang-format says.
set -euo pipefail
cd "$SOURCE_DIR"
# shellcheck source=files.sh
source "$(dirname "$0")/files.sh"

sources=()
while IFS= read -r file; do
    [ -f "$file" ] && sources+=("$file")
done < <(house_files | grep -E '\.(cpp|h)$')
[ "${#sources[@]}" -gt 0 ] || { echo "no C++ files found in $SOURCE_DIR" >&2; exit 1; }
clang-format --dry-run --Werror "${sources[@]}"
echo "${#sources[@]} C++ files laid out as .clang-format says"
