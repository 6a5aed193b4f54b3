# Sourced by the benchmark scripts that start a program under X: a private X session (Xvfb with openbox) and
# private store for the script's lifetime, starting a program and waiting for its window, and the median.
# Every script prints its figures as key=value lines, which bench/run.sh gathers into its table.
. scripts/xsession.sh

# Starts the X session (WIDTHxHEIGHT) and points the store at a scratch folder; both go when the script exits.
bench_session() {
    bench_scratch=$(mktemp -d)
    export TINTWELL_REGISTRY_DIR="$bench_scratch/registry" XDG_CONFIG_HOME="$bench_scratch/config"
    trap 'bench_stop; xsession_stop; rm -rf "$bench_scratch"' EXIT
    xsession_start "$1"
}

# Starts a program in the background ($pid) and returns once a window whose title matches $bench_window (by
# default the editor's, "Corvane Tintwell") is on screen.
bench_launch() {
    "$@" >/dev/null 2>&1 &
    pid=$!
    local deadline=$((SECONDS + 30))
    until xdotool search --onlyvisible --name "${bench_window:-^Corvane Tintwell\$}" >/dev/null 2>&1; do
        if ! kill -0 "$pid" 2>/dev/null || [ "$SECONDS" -ge "$deadline" ]; then
            echo "$1 showed no window" >&2
            return 1
        fi
        sleep 0.005
    done
}

# Ends the program that bench_launch started, if it still runs.
bench_stop() {
    [ -n "${pid:-}" ] || return 0
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
