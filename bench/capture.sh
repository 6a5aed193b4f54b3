#!/usr/bin/env bash
# F12 to the painted capture window against the bare screen grab, at 1920x1080 and 3840x2160, each under
# its own private Xvfb with openbox; at 3840x2160 also with a colour profile of over 500 KiB on the root window,
# which each capture reads and builds its conversion from (keys capture_profile_..., magnifier_profile_...).
# Usage: bench/capture.sh [path/to/capture_latency [path/to/display_profile]]
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/bench/capture_latency}
profiles=${2:-build/tests/e2e/display_profile}
. scripts/xsession.sh
for size in 1920x1080 3840x2160; do
    (
        trap xsession_stop EXIT # once per session: a second stop would fail on the ended processes
        xsession_start "$size"
        QT_QPA_PLATFORM=xcb "$binary" 2>/dev/null
        [ "$size" = 3840x2160 ] || exit 0
        profile=$(mktemp)
        "$profiles" write large "$profile"
        "$profiles" publish _ICC_PROFILE "$profile"
        rm -f "$profile"
        QT_QPA_PLATFORM=xcb "$binary" 2>/dev/null | sed -n 's/^\(capture\|grab\|magnifier\)_/\1_profile_/p'
    )
done
