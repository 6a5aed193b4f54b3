#!/usr/bin/env bash
# What a screen reader reads of the real program over AT-SPI, on a private session bus with its own
# accessibility bus: the colour panels are described by their colour as it changes, and the status bar's
# message is the text of its child. Usage: screen-reader.sh path/to/tintwell
set -euo pipefail
[ -n "${TINTWELL_PRIVATE_BUS:-}" ] || exec env TINTWELL_PRIVATE_BUS=1 dbus-run-session -- "$0" "$@"
. "$(dirname "$0")/session.sh"
e2e_begin screen-reader
# As with a screen reader running: Qt's bridge to AT-SPI is on whatever the desktop's settings say.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
reads() { /usr/bin/python3 "$(dirname "$0")/screen-reader.py" "$pid" "$@" >"$scratch/read" 2>&1; }

e2e_start "$1"
eventually reads description 'Color slot 1' '#FFFFFF' || fail "slot 1 is read as $(cat "$scratch/read")"
xdotool key alt+t ctrl+a
xdotool type '#663399'
xdotool key Tab
eventually reads description 'Current color' '#663399' || fail "the current colour is read as $(cat "$scratch/read")"
# The pointer on the toolbar's second button, Copy Hexadecimal Value: its hint is longer than the bar.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 50)) $((Y + 20))
eventually reads status 'Copy current color hexadecimal value to the Clipboard' ||
    fail "the status bar is read as $(cat "$scratch/read")"
echo ok
