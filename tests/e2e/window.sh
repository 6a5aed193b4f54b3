#!/usr/bin/env bash
# The real binary under X: the editor window appears with its caption and its fixed client size, and a
# screenshot of the screen is kept beside the test build.
set -euo pipefail
binary=$1
artefacts=${TINTWELL_ARTEFACTS:-$PWD/artefacts}
mkdir -p "$artefacts"
[ -n "${DISPLAY:-}" ] || { echo "needs an X server (scripts/test.sh starts one)"; exit 1; }

"$binary" &
pid=$!
trap 'kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true' EXIT

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Corvane Tintwell$' | head -n 1)
[ -n "$window" ] || { echo "no window"; exit 1; }
geometry=$(xwininfo -id "$window")
width=$(awk '/Width:/ {print $2}' <<<"$geometry")
height=$(awk '/Height:/ {print $2}' <<<"$geometry")
echo "window $window: ${width}x${height}"
[ "$width" = 300 ] && [ "$height" = 405 ] || { echo "expected a 300x405 client area"; exit 1; }
sleep 0.5
import -window root "$artefacts/editor-window.png"
kill -0 $pid
echo "ok"
