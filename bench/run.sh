#!/usr/bin/env bash
# Builds the benchmarks (Release) and prints their medians.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target tintwell bare_window bench_notations bench_editor bench_registry clipboard_latency capture_latency
args=(--benchmark_repetitions=9 --benchmark_report_aggregates_only=true --benchmark_min_time=0.2)
build/bench/bench_notations "${args[@]}" | grep -E 'Benchmark|median'
build/bench/bench_editor "${args[@]}" | grep -E 'Benchmark|median'
build/bench/bench_registry "${args[@]}" | grep -E 'Benchmark|median'
bench/idle.sh build/src/app/tintwell
bench/clipboard.sh build/bench/clipboard_latency 2>/dev/null
bench/startup.sh build/src/app/tintwell build/bench/bare_window
bench/capture.sh build/bench/capture_latency
