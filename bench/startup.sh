#!/usr/bin/env bash
# Start-up time: from process start until the editor window is on screen, minus the splash screen's fixed
# 2000 ms wait (its own showing still counts), beside the bare Qt window of bench/bare_window.cpp, under a
# private Xvfb with openbox. Prints the medians of several runs and their ratio.
# Usage: bench/startup.sh [path/to/tintwell] [path/to/bare_window]
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/src/app/tintwell}
bare=${2:-build/bench/bare_window}
runs=${TINTWELL_BENCH_RUNS:-7}
splash_wait_ms=2000
. scripts/xsession.sh
scratch=$(mktemp -d)
trap 'kill ${pid:-} 2>/dev/null || true; xsession_stop; rm -rf "$scratch"' EXIT
export TINTWELL_REGISTRY_DIR="$scratch/registry" XDG_CONFIG_HOME="$scratch/config"
xsession_start 1280x1024

# Milliseconds from launch until a visible window with the editor's title exists.
time_to_window() {
    local start now
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --name '^Corvane Tintwell$' >/dev/null 2>&1; do sleep 0.005; done
    now=$(date +%s%N)
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo $(((now - start) / 1000000))
}
median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }

time_to_window "$bare" >/dev/null # warm the file cache
time_to_window "$binary" >/dev/null
for _ in $(seq "$runs"); do
    echo $(($(time_to_window "$binary") - splash_wait_ms)) >>"$scratch/tintwell"
    time_to_window "$bare" >>"$scratch/bare"
done
program=$(median <"$scratch/tintwell")
yardstick=$(median <"$scratch/bare")
echo "start-up to window, median of $runs: tintwell $program ms (without the ${splash_wait_ms} ms wait)," \
    "bare Qt window $yardstick ms, ratio $(awk -v a="$program" -v b="$yardstick" 'BEGIN {printf "%.2f", a / b}')"
