#!/usr/bin/env bash
# `tintwell --pick` from process start until its capture window is on screen, beside bench/bare_grab.cpp (a bare
# Qt window that grabs the screen once and shows it), under a private Xvfb with openbox at 1920x1080. Prints the
# medians of several runs in milliseconds.
# Usage: bench/pick.sh [path/to/tintwell] [path/to/bare_grab]
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/src/app/tintwell}
bare=${2:-build/bench/bare_grab}
runs=${TINTWELL_BENCH_RUNS:-11}
. bench/common.sh
bench_session 1920x1080
bench_window='^CaptureFrm$'

# Appends to the file $1 the milliseconds from launch until the capture window is visible.
time_to_window() {
    local file=$1 start
    shift
    start=$(now_ms)
    bench_launch "$@"
    echo $(($(now_ms) - start)) >>"$file"
    bench_stop
}

time_to_window /dev/null "$bare" # warm the file cache
time_to_window /dev/null "$binary" --pick
for _ in $(seq "$runs"); do
    time_to_window "$bench_scratch/tintwell" "$binary" --pick
    time_to_window "$bench_scratch/bare" "$bare"
done
echo "pick_runs=$runs"
echo "pick_tintwell_ms=$(median <"$bench_scratch/tintwell")"
echo "pick_bare_ms=$(median <"$bench_scratch/bare")"
