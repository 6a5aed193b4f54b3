#!/usr/bin/env bash
# CPU time and wake-ups of the real program in 10 s with its window inactive (another window has the focus,
# so no caret blinks), under a private Xvfb with openbox. Usage: bench/idle.sh [path/to/tintwell]
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/src/app/tintwell}
seconds=10
. scripts/xsession.sh
scratch=$(mktemp -d)
trap 'kill ${pid:-} ${other:-} 2>/dev/null; xsession_stop; rm -rf "$scratch"' EXIT
export TINTWELL_REGISTRY_DIR="$scratch/registry" XDG_CONFIG_HOME="$scratch/config"
xsession_start 1280x1024

"$binary" >/dev/null 2>&1 &
pid=$!
timeout 20 xdotool search --sync --onlyvisible --name '^Corvane Tintwell$' >/dev/null
xmessage -geometry +700+400 "another program" &
other=$!
sleep 1
xdotool windowactivate --sync "$(xdotool search --sync --onlyvisible --name '^xmessage$' | head -n 1)" 2>/dev/null || true
sleep 1

ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
wakeups() { awk '/^voluntary_ctxt_switches/ {print $2}' "/proc/$pid/status"; }
hz=$(getconf CLK_TCK)
t0=$(ticks) w0=$(wakeups)
sleep "$seconds"
t1=$(ticks) w1=$(wakeups)
echo "idle, window inactive, ${seconds} s: CPU $(( (t1 - t0) * 1000 / hz )) ms, wake-ups $(( w1 - w0 ))"
