#!/usr/bin/env bash
# CPU time and wake-ups (voluntary context switches, all threads) of the real program in 10 s, first with its
# window inactive (another window has the focus, so no caret blinks), then with its window active and the
# caret blinking in the Red field, under a private Xvfb with openbox. Usage: bench/idle.sh [path/to/tintwell]
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/src/app/tintwell}
seconds=10
. bench/common.sh
bench_session 1280x1024

cpu_ns() { awk '{sum += $1} END {print sum}' /proc/"$pid"/task/*/schedstat; }
wakeups() { awk '/^voluntary_ctxt_switches/ {sum += $2} END {print sum}' /proc/"$pid"/task/*/status; }
# Prints idle_<state>_cpu_ms and idle_<state>_wakeups over the next $seconds.
measure() {
    local c0 w0 c1 w1
    c0=$(cpu_ns) w0=$(wakeups)
    sleep "$seconds"
    c1=$(cpu_ns) w1=$(wakeups)
    echo "idle_$1_cpu_ms=$(awk -v ns=$((c1 - c0)) 'BEGIN {printf "%.1f", ns / 1e6}')"
    echo "idle_$1_wakeups=$((w1 - w0))"
}
activate() { xdotool windowactivate --sync "$(xdotool search --onlyvisible --name "$1" | head -n 1)" 2>/dev/null; }

bench_launch "$binary"
xmessage -geometry +700+400 "another program" &
other=$!
xdotool search --sync --onlyvisible --name '^xmessage$' >/dev/null
activate '^xmessage$' || true
sleep 1
measure inactive

activate '^Corvane Tintwell$' || true
xdotool key alt+d # the Red field's access key
sleep 1
measure active
kill "$other"
