#!/usr/bin/env bash
# Builds Tintwell and runs every test headless: widget tests on Qt's offscreen platform, tests of the real
# binary under a private Xvfb with openbox, and the fuzz targets for a bounded time. Two passes:
#   ordinary   the Release build in build/ and its tests (the .deb and the valgrind run among them);
#   sanitized  clang with AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/: every test, any
#              sanitizer report fails the pass, then the fuzz targets from the same build.
#   scripts/test.sh               both passes
#   scripts/test.sh --ordinary    the ordinary pass only
#   scripts/test.sh --sanitize    the sanitized pass only
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-}
case "$mode" in "" | --ordinary | --sanitize) ;; *) echo "usage: $0 [--ordinary | --sanitize]" >&2; exit 2 ;; esac
scripts/deps.sh

fuzz_seconds=${TINTWELL_FUZZ_SECONDS:-20}
# CI sets TINTWELL_WERROR=ON: a warning then fails the build.
werror=${TINTWELL_WERROR:-OFF}

# run_fuzz BUILD_DIR: each fuzz target of that build for fuzz_seconds from its seeds.
run_fuzz() {
    local build=$1 target name corpus
    for target in "$build"/tests/fuzz/fuzz_*; do
        [ -f "$target" ] && [ -x "$target" ] || continue # the build's own folders share the prefix
        name=$(basename "$target")
        corpus=$(mktemp -d)
        if "$target" -max_total_time="$fuzz_seconds" -print_final_stats=0 "$corpus" tests/fuzz/seeds/"$name" \
            >"$build/$name.log" 2>&1; then
            echo "$name: no crash in ${fuzz_seconds}s ($(grep -c '^#' "$build/$name.log") progress lines)"
        else
            tail -n 40 "$build/$name.log"
            echo "$name: FAILED" >&2
            exit 1
        fi
        rm -rf "$corpus"
    done
}

# run_tests BUILD_DIR: every test of that build.
run_tests() { ctest --test-dir "$1" --output-on-failure --timeout 600; }

ordinary_pass() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTINTWELL_WERROR="$werror" >/dev/null
    cmake --build build
    run_tests build
}

sanitized_pass() {
    local build=build-sanitize status=0
    # Reports go to files as well, so that those of programs the end-to-end tests end are not lost; the
    # suppressions name third-party code only.
    local reports=$PWD/$build/sanitizer-reports
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DTINTWELL_SANITIZE=ON -DTINTWELL_BENCH=OFF -DTINTWELL_WERROR="$werror" >/dev/null
    cmake --build "$build"
    rm -rf "$reports" && mkdir -p "$reports"
    export ASAN_OPTIONS="log_path=$reports/asan:detect_leaks=1:fast_unwind_on_malloc=0"
    export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="log_path=$reports/ubsan:print_stacktrace=1:halt_on_error=1"
    run_tests "$build" || status=$?
    if compgen -G "$reports/*" >/dev/null; then
        cat "$reports"/*
        echo "sanitizer reports: see above" >&2
        return 1
    fi
    echo "sanitizers: no report"
    [ "$status" -eq 0 ] || return "$status"
    run_fuzz "$build"
}

# Every test gets a private runtime and configuration folder; nothing touches the user's own.
scratch=$(mktemp -d)
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR="$scratch/runtime" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"
. scripts/xsession.sh
trap 'xsession_stop; rm -rf "$scratch"' EXIT
xsession_start 1920x1080

# (An if, not ||: errexit holds inside a function only when it is not called as part of a condition.)
if [ "$mode" != --sanitize ]; then ordinary_pass; fi
if [ "$mode" != --ordinary ]; then sanitized_pass; fi
