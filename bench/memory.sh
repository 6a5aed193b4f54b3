#!/usr/bin/env bash
# Memory of the running program 5 s after its start: resident set (VmRSS) and proportional set size (Pss,
# which shares the shared libraries' pages among the processes that map them), beside the bare Qt window of
# bench/bare_window.cpp, under a private Xvfb with openbox. Prints kilobytes.
# Usage: bench/memory.sh [path/to/tintwell] [path/to/bare_window]
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/src/app/tintwell}
bare=${2:-build/bench/bare_window}
after_ms=5000
. bench/common.sh
bench_session 1280x1024

# Prints name_rss_kb and name_pss_kb of the program, read after_ms after its start.
measure() {
    local name=$1 start rest
    shift
    start=$(now_ms)
    bench_launch "$@"
    rest=$((after_ms - ($(now_ms) - start)))
    [ "$rest" -le 0 ] || sleep "$(awk -v ms="$rest" 'BEGIN {print ms / 1000}')"
    awk -v name="$name" '/^VmRSS:/ {print "rss_" name "_kb=" $2}' "/proc/$pid/status"
    awk -v name="$name" '/^Pss:/ {print "pss_" name "_kb=" $2}' "/proc/$pid/smaps_rollup"
    bench_stop
}

measure tintwell "$binary"
measure bare "$bare"
