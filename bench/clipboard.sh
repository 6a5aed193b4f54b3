#!/usr/bin/env bash
# Runs the clipboard-latency measurement under a private Xvfb with openbox.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/xsession.sh
trap xsession_stop EXIT
xsession_start 1280x1024
QT_QPA_PLATFORM=xcb "${1:-build/bench/clipboard_latency}"
