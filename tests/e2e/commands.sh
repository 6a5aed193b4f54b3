#!/usr/bin/env bash
# The real binary under X with a window manager: the menu bar answers its access keys, a colour pasted
# from another program's clipboard applies only in its own notation, and File, Exit ends the program.
set -euo pipefail
. "$(dirname "$0")/session.sh"
e2e_begin commands
e2e_start "$1"

# The colour of the large swatch.
swatch() { client_pixel 150 110; }
clipboard_is() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }

eventually pixel_is 150 110 '#FFFFFF' || fail "the swatch starts $(swatch), not white"

# Alt+E opens the Edit menu: a popup window of the program appears; Escape closes it.
before=$(program_windows)
xdotool key --window "$window" alt+e
eventually eval '[ "$(program_windows)" -gt '"$before"' ]' || fail "Alt+E opened no menu"
import -window root "$artefacts/edit-menu.png"
xdotool key Escape
eventually eval '[ "$(program_windows)" = '"$before"' ]' || fail "Escape left the Edit menu open"

# The preferences and the about box open with their frames centred over the editor's frame (within a pixel).
frame_centre() {
    local extents
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | grep -o '[0-9, ]*$' | tr -d ' ') # left, right, top, bottom
    xwininfo -id "$1" | awk -v e="$extents" '
        BEGIN { split(e, f, ",") }
        /Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} /Width:/ {w = $2} /Height:/ {h = $2}
        END { printf "%d %d\n", x - f[1] + (w + f[1] + f[2]) / 2, y - f[3] + (h + f[3] + f[4]) / 2 }'
}
# (Away from the screen's edge first, where the window manager would keep the wider about box on the screen.)
xdotool windowmove --sync "$window" 700 300
read -r editor_x editor_y <<<"$(frame_centre "$window")"
for entry in "f p ^Preferences" "h a ^About"; do
    read -r menu_key item title <<<"$entry"
    menu "$menu_key" "$item"
    dialog=$(wait_window "$title") || fail "no dialog $title"
    eventually eval '[ -n "$(xprop -id "$dialog" _NET_FRAME_EXTENTS | grep -o "[0-9]")" ]' || fail "$title: not framed"
    read -r x y <<<"$(frame_centre "$dialog")"
    [ $((x - editor_x)) -ge -1 ] && [ $((x - editor_x)) -le 1 ] && [ $((y - editor_y)) -ge -1 ] &&
        [ $((y - editor_y)) -le 1 ] || fail "$title is centred at $x,$y, the editor at $editor_x,$editor_y"
    xdotool key Escape
    eventually window_gone "$title" || fail "Escape left $title open"
done

# Another program takes the clipboard with an HTML colour: Ctrl+V in the HTML field applies it.
offer '#0A141E'
xdotool key --window "$window" alt+t
eventually eval 'xdotool key --window "$window" ctrl+v; pixel_is 150 110 "#0A141E"' ||
    fail "pasting #0A141E in the HTML field gave $(swatch)"

# An RGB text does not paste as HTML: the HTML text copied (F8) after that Ctrl+V, once the program has
# taken the key, is still the old colour's. In the number field the key takes the RGB notation.
offer 'RGB(255, 128, 0)'
eventually clipboard_is 'RGB(255, 128, 0)' || fail "xclip did not take the clipboard"
xdotool key --window "$window" alt+t ctrl+v F8
eventually clipboard_is '#0A141E' || fail "an RGB text pasted into the HTML field: F8 copied $(xclip -o -selection clipboard)"
offer 'RGB(255, 128, 0)'
eventually clipboard_is 'RGB(255, 128, 0)' || fail "xclip did not take the clipboard"
xdotool key --window "$window" alt+d
eventually eval 'xdotool key --window "$window" ctrl+v; pixel_is 150 110 "#FF8000"' ||
    fail "Ctrl+V in the red field gave $(swatch)"
import -window root "$artefacts/after-paste.png"

# A colour of a style sheet, outside sRGB, from the HTML field: Ctrl+Shift+V maps it in and says so; Ctrl+Shift+C
# hands it on as oklch(), Copy As's first format.
offer 'oklch(0.7 0.3 40)'
eventually clipboard_is 'oklch(0.7 0.3 40)' || fail "xclip did not take the clipboard"
xdotool key --window "$window" alt+t
eventually eval 'xdotool key --window "$window" ctrl+shift+v; pixel_is 150 110 "#FF5C00"' ||
    fail "Ctrl+Shift+V of oklch(0.7 0.3 40) gave $(swatch)"
xdotool key --window "$window" ctrl+shift+c
eventually clipboard_is 'oklch(0.684 0.212 40.6)' ||
    fail "Ctrl+Shift+C copied $(xclip -o -selection clipboard)"

# File, Exit ends the program.
menu f x
eventually eval '! kill -0 "$pid" 2>/dev/null' || fail "File, Exit did not end the program"
wait "$pid" || fail "the program ended with status $?"
pid=
echo "ok"
