#!/usr/bin/env bash
# The real binary under X with a window manager: F1 opens the help window on the default topic; the about
# box and the preferences dialog come up from the menus, F1 in the latter gives its own topic, and a
# thumbnail width set in the preferences is the width of the next thumbnail on the clipboard (F9, read back
# with xclip).
set -euo pipefail
. "$(dirname "$0")/session.sh"
e2e_begin help
e2e_start "$1"
thumbnail_size() { xclip -o -selection clipboard -t image/png 2>/dev/null | identify -format '%wx%h' - 2>/dev/null; }

# F1: the help window, on the default topic.
xdotool key --window "$window" F1
help=$(wait_window '^Corvane Tintwell Help - Corvane Tintwell$') || fail "F1 opened no help window on the default topic"
import -window root "$artefacts/help-window.png"
xdotool windowactivate --sync "$help"
xdotool key alt+F4
eventually window_gone '^Corvane Tintwell Help - ' || fail "Alt+F4 left the help window open"

# Help, About...: the about box; Escape closes it.
menu h a
wait_window '^About Corvane Tintwell\.\.\.' >/dev/null || fail "no about box"
import -window root "$artefacts/help-about.png"
xdotool key Escape
eventually window_gone '^About Corvane Tintwell' || fail "Escape left the about box open"

# File, Preferences...: a thumbnail width of 48, OK.
menu f p
preferences=$(wait_window '^Preferences\.\.\.') || fail "no preferences dialog"
import -window root "$artefacts/help-preferences.png"
# F1 in the dialog: the preferences topic, readable while the dialog stays open.
xdotool key F1
wait_window '^Corvane Tintwell Help - Preferences' >/dev/null || fail "F1 in the preferences dialog opened no preferences topic"
xdotool windowactivate --sync "$preferences"
eventually has_focus "$preferences" || fail "the preferences dialog did not get the keyboard back"
xdotool key alt+w ctrl+a
xdotool type 48
xdotool key Return
eventually window_gone '^Preferences\.\.\.' || fail "OK left the dialog open"

# F9: the thumbnail has the new width and the stored height.
xdotool windowactivate --sync "$window"
xdotool key --window "$window" F9
eventually eval '[ "$(thumbnail_size)" = 48x32 ]' || fail "the thumbnail is $(thumbnail_size), not 48x32"
echo "ok"
