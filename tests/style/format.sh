#!/usr/bin/env bash
# Every C and C++ source of the tree is as clang-format 14 writes it with the committed .clang-format (other
# versions format differently). Names each file that would change and fails; `--fix` rewrites them instead.
# Usage: format.sh [--fix] SOURCE_DIR
set -euo pipefail
fix=
[ "${1:-}" = --fix ] && { fix=1; shift; }
cd "$1"
mapfile -t files < <(find src tools tests bench -name '*.cpp' -o -name '*.h' -o -name '*.c' | sort)
if [ -n "$fix" ]; then
    clang-format-14 -i "${files[@]}"
    exit
fi
status=0
for file in "${files[@]}"; do
    clang-format-14 --dry-run -Werror "$file" >/dev/null 2>&1 || { echo "not formatted: $file"; status=1; }
done
[ "$status" = 0 ] && echo "${#files[@]} files formatted"
exit "$status"
