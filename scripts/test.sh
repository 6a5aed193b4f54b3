#!/usr/bin/env bash
# Builds Tintwell and runs every test headless: widget tests on Qt's offscreen platform, tests of the real
# binary under a private Xvfb with openbox, and the fuzz targets for a bounded time.
#   scripts/test.sh             the Release build in build/, its tests, the fuzz targets from build-fuzz/
#   scripts/test.sh --no-fuzz   the Release build and its tests only
#   scripts/test.sh --sanitize  clang with AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/:
#                               every test, then the fuzz targets from the same build
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-}
case "$mode" in "" | --no-fuzz | --sanitize) ;; *) echo "usage: $0 [--no-fuzz | --sanitize]" >&2; exit 2 ;; esac
scripts/deps.sh

fuzz_seconds=${TINTWELL_FUZZ_SECONDS:-20}

# run_fuzz BUILD_DIR: each fuzz target of that build for fuzz_seconds from its seeds.
run_fuzz() {
    local build=$1 target name corpus
    for target in "$build"/tests/fuzz/fuzz_*; do
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

if [ "$mode" = --sanitize ]; then
    build=build-sanitize
    # Reports go to files as well, so that those of programs the end-to-end tests end are not lost; the
    # suppressions name third-party code only.
    reports=$PWD/$build/sanitizer-reports
    rm -rf "$reports" && mkdir -p "$reports"
    export ASAN_OPTIONS="log_path=$reports/asan:detect_leaks=1:fast_unwind_on_malloc=0"
    export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="log_path=$reports/ubsan:print_stacktrace=1:halt_on_error=1"
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DTINTWELL_SANITIZE=ON -DTINTWELL_BENCH=OFF >/dev/null
else
    build=build
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build"

if [ -z "$mode" ]; then
    cmake -S . -B build-fuzz -G Ninja -DTINTWELL_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build-fuzz
    run_fuzz build-fuzz
fi

# Every test gets a private runtime and configuration folder; nothing touches the user's own.
scratch=$(mktemp -d)
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR="$scratch/runtime" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"
. scripts/xsession.sh
trap 'xsession_stop; rm -rf "$scratch"' EXIT
xsession_start 1920x1080
status=0
ctest --test-dir "$build" --output-on-failure --timeout 600 || status=$?

if [ "$mode" = --sanitize ]; then
    if compgen -G "$reports/*" >/dev/null; then
        cat "$reports"/*
        echo "sanitizer reports: see above" >&2
        exit 1
    fi
    echo "sanitizers: no report"
fi
[ "$status" -eq 0 ] || exit "$status"
[ "$mode" != --sanitize ] || run_fuzz "$build"
