#!/usr/bin/env bash
# Builds Tintwell and runs every test headless: widget tests on Qt's offscreen platform, tests of the real
# binary under a private Xvfb with openbox, and the fuzz targets for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

fuzz_seconds=${TINTWELL_FUZZ_SECONDS:-20}

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build

cmake -S . -B build-fuzz -G Ninja -DTINTWELL_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz
for target in build-fuzz/tests/fuzz/fuzz_*; do
    name=$(basename "$target")
    corpus=$(mktemp -d)
    if "$target" -max_total_time="$fuzz_seconds" -print_final_stats=0 "$corpus" tests/fuzz/seeds/"$name" \
        >"build-fuzz/$name.log" 2>&1; then
        echo "$name: no crash in ${fuzz_seconds}s ($(grep -c '^#' "build-fuzz/$name.log") progress lines)"
    else
        tail -n 40 "build-fuzz/$name.log"
        echo "$name: FAILED" >&2
        exit 1
    fi
    rm -rf "$corpus"
done

# Every test gets a private runtime and configuration folder; nothing touches the user's own.
scratch=$(mktemp -d)
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR="$scratch/runtime" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"
. scripts/xsession.sh
trap 'xsession_stop; rm -rf "$scratch"' EXIT
xsession_start 1920x1080
ctest --test-dir build --output-on-failure --timeout 600
