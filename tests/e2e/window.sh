#!/usr/bin/env bash
# The real binary under X: the editor window appears with its caption and its fixed client size, and a
# screenshot of the screen is kept beside the test build.
set -euo pipefail
. "$(dirname "$0")/session.sh"
e2e_begin window
e2e_start "$1"
geometry=$(xwininfo -id "$window")
width=$(awk '/Width:/ {print $2}' <<<"$geometry")
height=$(awk '/Height:/ {print $2}' <<<"$geometry")
echo "window $window: ${width}x${height}"
[ "$width" = 300 ] && [ "$height" = 405 ] || fail "expected a 300x405 client area"
# The editor is drawn once its colour panel shows the starting white.
eventually pixel_is 150 110 '#FFFFFF' || fail "the editor was not drawn"
import -window root "$artefacts/editor-window.png"
kill -0 $pid
echo "ok"
