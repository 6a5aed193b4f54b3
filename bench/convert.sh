#!/usr/bin/env bash
# `tintwell --convert - --format oklch` over 100,000 lines of rgb(), hsl() and oklch() texts, beside the same
# conversion done by colorjs.io in one node process (bench/convert.cjs); each the median of 3 runs, in ms.
# Usage: bench/convert.sh [path/to/tintwell]
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/src/app/tintwell}
export NODE_PATH=/usr/local/share/tintwell-tests/node/node_modules
lines=$(mktemp)
trap 'rm -f "$lines"' EXIT
node bench/convert.cjs texts 100000 >"$lines"
# median_ms COMMAND...: the middle of three wall-clock times of COMMAND with the lines on its input.
median_ms() {
    for _ in 1 2 3; do
        local start
        start=$(date +%s%N)
        "$@" <"$lines" >/dev/null
        echo $((($(date +%s%N) - start) / 1000000))
    done | sort -n | sed -n 2p
}
echo "convert_tintwell_ms=$(median_ms "$binary" --convert - --format oklch)"
[ -f "$NODE_PATH/colorjs.io/package.json" ] && echo "convert_colorjs_ms=$(median_ms node bench/convert.cjs convert)"
