#!/usr/bin/env bash
# F12 to the painted capture window against the bare screen grab, at 1920x1080 and 3840x2160, each under
# its own private Xvfb with openbox. Usage: bench/capture.sh [path/to/capture_latency]
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/bench/capture_latency}
. scripts/xsession.sh
for size in 1920x1080 3840x2160; do
    (
        trap xsession_stop EXIT # once per session: a second stop would fail on the ended processes
        xsession_start "$size"
        QT_QPA_PLATFORM=xcb "$binary" 2>/dev/null
    )
done
