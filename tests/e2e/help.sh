#!/usr/bin/env bash
# The real binary under X with a window manager: F1 opens the help window on the default topic; the about
# box and the preferences dialog come up from the menus, F1 in the latter gives its own topic, and a
# thumbnail width set in the preferences is the width of the next thumbnail on the clipboard (F9, read back
# with xclip). Every window's title is exactly its caption, and the Escape that closes a warning over a
# dialog closes the warning alone. Usage: help.sh path/to/tintwell path/to/tintwell-reg
set -euo pipefail
. "$(dirname "$0")/session.sh"
e2e_begin help
reg=$2
# System Info is made to fail, so that it gives its warning over the about box.
"$reg" add 'HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO' /v Path /d "$scratch/no-such-tool" /f >/dev/null
e2e_start "$1"
thumbnail_size() { xclip -o -selection clipboard -t image/png 2>/dev/null | identify -format '%wx%h' - 2>/dev/null; }
title() { xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }
expect_title() { [ "$(title "$1")" = "$2" ] || fail "a window is titled '$(title "$1")', not '$2'"; }
# Whether a warning is up: a details dialog, titled with the program's name alone like the editor.
warning_up() { [ -n "$(named_windows '^Corvane Tintwell$' | grep -vx "$window")" ]; }

expect_title "$window" 'Corvane Tintwell'

# F1: the help window, on the default topic.
xdotool key --window "$window" F1
help=$(wait_window '^Corvane Tintwell Help$') || fail "F1 opened no help window on the default topic"
expect_title "$help" 'Corvane Tintwell Help'
import -window root "$artefacts/help-window.png"
xdotool windowactivate --sync "$help"
xdotool key Escape
eventually window_gone '^Corvane Tintwell Help' || fail "Escape left the help window open"

# Help, About...: the about box. System Info... warns over it; one Escape closes the warning alone: the
# box still takes its own key after it (Tech. Support... opens the support topic). Escape then closes it.
menu h a
about=$(wait_window '^About Corvane Tintwell\.\.\.') || fail "no about box"
expect_title "$about" 'About Corvane Tintwell...'
import -window root "$artefacts/help-about.png"
xdotool key alt+s
eventually warning_up || fail "System Info gave no warning"
warning=$(named_windows '^Corvane Tintwell$' | grep -vx "$window" | head -n 1)
expect_title "$warning" 'Corvane Tintwell'
xdotool key Escape
eventually eval '! warning_up' || fail "Escape left the warning open"
xdotool windowactivate --sync "$about" 2>/dev/null || fail "the Escape on the warning closed the about box too"
xdotool key alt+t
wait_window '^Corvane Tintwell Help - Technical support$' >/dev/null ||
    fail "the Escape on the warning closed the about box too"
xdotool windowactivate --sync "$about"
xdotool key Escape
eventually window_gone '^About Corvane Tintwell' || fail "Escape left the about box open"

# File, Preferences...: a thumbnail width of 48, OK; on the way an emptied field's warning is closed with
# Escape, which leaves the dialog and its edits.
menu f p
preferences=$(wait_window '^Preferences\.\.\.') || fail "no preferences dialog"
expect_title "$preferences" 'Preferences...'
import -window root "$artefacts/help-preferences.png"
# F1 in a number field: the preferences topic, readable while the dialog stays open.
xdotool key alt+w F1
wait_window '^Corvane Tintwell Help - Preferences' >/dev/null || fail "F1 in the preferences dialog opened no preferences topic"
xdotool windowactivate --sync "$preferences"
eventually has_focus "$preferences" || fail "the preferences dialog did not get the keyboard back"
xdotool key alt+w ctrl+a
xdotool type 48
xdotool key alt+h ctrl+a BackSpace alt+a
eventually warning_up || fail "an emptied height gave no warning"
xdotool key Escape
eventually eval '! warning_up' || fail "Escape left the warning open"
xdotool windowactivate --sync "$preferences" 2>/dev/null || fail "the Escape on the warning closed the preferences too"
eventually has_focus "$preferences" || fail "the Escape on the warning closed the preferences too"
xdotool key alt+h
xdotool type 32
xdotool key Return
eventually window_gone '^Preferences\.\.\.' || fail "OK left the dialog open"

# F9: the thumbnail has the new width and the stored height.
xdotool windowactivate --sync "$window"
xdotool key --window "$window" F9
eventually eval '[ "$(thumbnail_size)" = 48x32 ]' || fail "the thumbnail is $(thumbnail_size), not 48x32"

# At twice the scale the help window still fits the screen, 1080 pixels high.
quit_editor
e2e_start env QT_SCALE_FACTOR=2 "$1"
xdotool key --window "$window" F1
help=$(wait_window '^Corvane Tintwell Help') || fail "F1 at scale 2 opened no help window"
geometry=$(xwininfo -id "$help")
top=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")
height=$(awk '/Height:/ {print $2}' <<<"$geometry")
[ "$top" -ge 0 ] && [ $((top + height)) -le 1080 ] || fail "the help window at scale 2 lies at $top, $height high"
echo "ok"
