#!/usr/bin/env bash
# The real binary under X with a window manager: F1 opens the help window on the default topic; the about
# box and the preferences dialog come up from the menus, F1 in the latter gives its own topic, and a thumbnail width set in the preferences is
# the width of the next thumbnail on the clipboard (F9, read back with xclip).
set -euo pipefail
. "$(dirname "$0")/session.sh"
e2e_begin help
e2e_start "$1"

# F1: the help window, on the default topic.
xdotool key --window "$window" F1
help=$(timeout 10 xdotool search --sync --onlyvisible --name '^Corvane Tintwell Help - Corvane Tintwell$' |
    head -n 1) || fail "F1 opened no help window on the default topic"
sleep 0.5
import -window root "$artefacts/help-window.png"
xdotool windowactivate --sync "$help"
xdotool key alt+F4
sleep 0.3

# Help, About...: the about box; Escape closes it.
menu h a
about=$(timeout 10 xdotool search --sync --onlyvisible --name '^About Corvane Tintwell\.\.\.' | head -n 1) ||
    fail "no about box"
sleep 0.3
import -window root "$artefacts/help-about.png"
xdotool key Escape
sleep 0.3
xdotool search --onlyvisible --name '^About Corvane Tintwell' >/dev/null 2>&1 && fail "Escape left the about box open"

# File, Preferences...: a thumbnail width of 48, OK.
menu f p
preferences=$(timeout 10 xdotool search --sync --onlyvisible --name '^Preferences\.\.\.' | head -n 1) ||
    fail "no preferences dialog"
sleep 0.3
import -window root "$artefacts/help-preferences.png"
# F1 in the dialog: the preferences topic, readable while the dialog stays open.
xdotool key F1
timeout 10 xdotool search --sync --onlyvisible --name '^Corvane Tintwell Help - Preferences' >/dev/null ||
    fail "F1 in the preferences dialog opened no preferences topic"
xdotool windowactivate --sync "$preferences"
sleep 0.3
xdotool key alt+w ctrl+a
xdotool type 48
xdotool key Return
sleep 0.5
xdotool search --onlyvisible --name '^Preferences\.\.\.' >/dev/null 2>&1 && fail "OK left the dialog open"

# F9: the thumbnail has the new width and the stored height.
xdotool windowactivate --sync "$window"
xdotool key --window "$window" F9
sleep 0.5
size=$(xclip -o -selection clipboard -t image/png | identify -format '%wx%h' -) || fail "no image on the clipboard"
[ "$size" = 48x32 ] || fail "the thumbnail is $size, not 48x32"
echo "ok"
