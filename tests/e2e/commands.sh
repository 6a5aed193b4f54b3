#!/usr/bin/env bash
# The real binary under X with a window manager: the menu bar answers its access keys, a colour pasted
# from another program's clipboard applies only in its own notation, and File, Exit ends the program.
set -euo pipefail
. "$(dirname "$0")/session.sh"
e2e_begin commands
e2e_start "$1"

visible_windows() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
# The colour of the large swatch.
swatch() { client_pixel 150 110; }

[ "$(swatch)" = "#FFFFFF" ] || fail "the swatch starts white, not $(swatch)"

# Alt+E opens the Edit menu: a popup window of the program appears; Escape closes it.
before=$(visible_windows)
xdotool key --window "$window" alt+e
sleep 0.5
[ "$(visible_windows)" -gt "$before" ] || fail "Alt+E opened no menu"
import -window root "$artefacts/edit-menu.png"
xdotool key Escape
sleep 0.3

# Another program takes the clipboard with an HTML colour: Ctrl+V in the HTML field applies it.
offer '#0A141E'
sleep 0.3
xdotool key --window "$window" alt+t
xdotool key --window "$window" ctrl+v
sleep 0.5
[ "$(swatch)" = "#0A141E" ] || fail "pasting #0A141E in the HTML field gave $(swatch)"

# An RGB text does not paste as HTML; in the number field the key takes the RGB notation.
offer 'RGB(255, 128, 0)'
sleep 0.3
xdotool key --window "$window" alt+t ctrl+v
sleep 0.5
[ "$(swatch)" = "#0A141E" ] || fail "an RGB text pasted into the HTML field"
xdotool key --window "$window" alt+d ctrl+v
sleep 0.5
[ "$(swatch)" = "#FF8000" ] || fail "Ctrl+V in the red field gave $(swatch)"
import -window root "$artefacts/after-paste.png"

# File, Exit ends the program.
xdotool key --window "$window" alt+f
sleep 0.3
xdotool key x
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "File, Exit did not end the program"
wait "$pid" || fail "the program ended with status $?"
echo "ok"
