#!/usr/bin/env bash
# CPU time and wake-ups (voluntary context switches, all threads) of the real program in 10 s, first with its
# window inactive (another window has the focus, so no caret blinks), then with its window active and the
# caret blinking in the Red field, and then the same with another program's text on the clipboard, 7 bytes and
# 20 MB, under a private Xvfb with openbox. Usage: bench/idle.sh [path/to/tintwell]
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/src/app/tintwell}
seconds=10
. bench/common.sh
bench_session 1280x1024

# One line per thread: its id, CPU time in ns and voluntary context switches. Threads come and go (Qt's pooled
# threads end after 30 s idle), so a measure counts only the threads that are there at its start and its end.
threads() {
    local task
    for task in /proc/"$pid"/task/*; do
        echo "${task##*/} $(awk '{print $1}' "$task/schedstat") $(awk '/^voluntary_ctxt_switches/ {print $2}' "$task/status")"
    done 2>/dev/null
}
# Prints idle_<state>_cpu_ms and idle_<state>_wakeups over the next $seconds.
measure() {
    local before
    before=$(threads)
    sleep "$seconds"
    threads | awk -v state="$1" '
        NR == FNR { cpu[$1] = $2; switches[$1] = $3; next }
        $1 in cpu { ns += $2 - cpu[$1]; wakeups += $3 - switches[$1] }
        END { printf "idle_%s_cpu_ms=%.1f\nidle_%s_wakeups=%d\n", state, ns / 1e6, state, wakeups }
    ' <(echo "$before") -
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

# xclip stays behind to serve the clipboard; it goes with the X server.
printf '#FF8000' | xclip -selection clipboard -i >/dev/null 2>&1
sleep 1
measure text7
head -c 20000000 /dev/zero | tr '\0' ' ' | xclip -selection clipboard -i >/dev/null 2>&1
sleep 1
measure text20mb
kill "$other"
