#!/usr/bin/env bash
# One run of the real program under valgrind memcheck, from start to a normal exit (Alt+F4): no block that
# the program's own code allocated is definitely lost. Leaks allocated inside the libraries (fontconfig, Qt,
# ...) are listed but not counted; a record counts when its first frame past the allocator is in the
# program. Usage: valgrind.sh path/to/tintwell
set -euo pipefail
binary=$(readlink -f "$1")
. "$(dirname "$0")/session.sh"
e2e_begin valgrind
log=$artefacts/valgrind.log

e2e_start valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite --num-callers=40 \
    --log-file="$log" "$binary"
xdotool key alt+F4
for _ in $(seq 240); do kill -0 "$pid" 2>/dev/null || break; sleep 0.5; done
kill -0 "$pid" 2>/dev/null && fail "the program did not exit under valgrind"
wait "$pid" || fail "the program exited with status $?"
pid=

grep -q 'ERROR SUMMARY' "$log" || fail "valgrind wrote no summary"
own=$(awk -v program="(in $binary)" '
    / are definitely lost in loss record / { inRecord = 1; next }
    inRecord && /^==[0-9]+== *(at|by) / {
        if ($0 ~ /vgpreload_memcheck|vg_replace_malloc|libstdc\+\+\.so|libc\.so/) next
        if (index($0, program)) count++
        inRecord = 0
    }
    END { print count + 0 }' "$log")
grep -E 'definitely lost:' "$log" | tail -n 1
[ "$own" -eq 0 ] || { grep -A 20 'definitely lost in loss record' "$log"; fail "$own definite leaks from the program's own code"; }
echo "ok"
