#!/usr/bin/env bash
# Start-up time: from process start until the editor window is on screen, minus the splash screen's fixed
# 2000 ms wait (its own showing still counts), beside the bare Qt window of bench/bare_window.cpp, under a
# private Xvfb with openbox. Prints the medians of several runs in milliseconds.
# Usage: bench/startup.sh [path/to/tintwell] [path/to/bare_window]
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/src/app/tintwell}
bare=${2:-build/bench/bare_window}
runs=${TINTWELL_BENCH_RUNS:-11}
splash_wait_ms=2000
. bench/common.sh
bench_session 1280x1024

# Appends to the file $1 the milliseconds from launch until the window is visible, less $2.
time_to_window() {
    local file=$1 less=$2 start
    shift 2
    start=$(now_ms)
    bench_launch "$@"
    echo $(($(now_ms) - start - less)) >>"$file"
    bench_stop
}

time_to_window /dev/null 0 "$bare" # warm the file cache
time_to_window /dev/null 0 "$binary"
for _ in $(seq "$runs"); do
    time_to_window "$bench_scratch/tintwell" "$splash_wait_ms" "$binary"
    time_to_window "$bench_scratch/bare" 0 "$bare"
done
echo "startup_runs=$runs"
echo "startup_tintwell_ms=$(median <"$bench_scratch/tintwell")"
echo "startup_bare_ms=$(median <"$bench_scratch/bare")"
