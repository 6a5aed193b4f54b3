#!/usr/bin/env bash
# The installed program used as a person would, under X with openbox, in two runs over one store.
# First run: the splash, then the window; a colour typed in the number fields and in each notation field;
# each notation and the thumbnail copied and read back by another program (xclip); a colour pasted from
# another program, the field's context menu opened with the Menu key on the way; a pixel of another
# program's window captured with F12 and parked in slot 1; a colour picked in the colour dialog; a thumbnail
# width set in the preferences; the toolbar and the status bar hidden and always-on-top switched on;
# the window moved; File, Exit. Second run: the colour, the slot, the bars, always-on-top, the place and the
# thumbnail width are all back. A screenshot of each stage is kept as an artefact.
# Usage: acceptance.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
. "$(dirname "$0")/session.sh"
e2e_begin acceptance
DESTDIR="$scratch/root" cmake --install "$build" --prefix /usr >/dev/null
binary=$scratch/root/usr/bin/tintwell

stage=0
rm -f "$artefacts"/acceptance-*.png
shot() { stage=$((stage + 1)); import -window root "$artefacts/acceptance-$stage-$1.png"; }
# Keys are typed (XTEST) into the active editor window, as a person types them.
press() { activate_editor; xdotool key "$@"; }
# type_into ACCESS_KEY TEXT: the field with that access key gets TEXT, then Tab moves the focus on.
type_into() {
    press "alt+$1" ctrl+a
    xdotool type --delay 20 "$2"
    xdotool key Tab
}
clipboard_is() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }
clipboard_image() { xclip -o -selection clipboard -t image/png | convert - -format "$1" info:; }
# dialog TITLE_PATTERN: waits for a window with that title and activates it.
dialog() {
    local id
    id=$(wait_window "$1") || fail "no window '$1'"
    xdotool windowactivate --sync "$id"
}
gone() { window_gone "$1"; }
client_origin() { xwininfo -id "$(find_window)" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {print x "," $4}'; }
on_top() { xprop -id "$(find_window)" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
exit_program() {
    quit_editor
}
start() {
    "$binary" &
    pid=$!
    local first
    first=$(first_program_window) || fail "no window at all"
    [ "$(window_width "$first")" = 500 ] || fail "the window came without a splash"
    shot "$1-splash"
    activate_editor
    shot "$1-window"
}
# Client points of the large swatch and of slot 1, less the toolbar row's 27 pixels once it is hidden.
toolbar_row=0
swatch_is() { pixel_is 150 $((110 - toolbar_row)) "$1"; }
slot1_is() { pixel_is 18 $((200 - toolbar_row)) "$1"; }
swatch() { client_pixel 150 $((110 - toolbar_row)); }

xmessage -bg '#336699' -geometry 300x200+700+500 ' ' &
others=$!

start first

type_into d 10
type_into g 20
type_into b 30
eventually swatch_is '#0A141E' || fail "the number fields gave $(swatch)"
type_into r 'RGB(255, 128, 0)'
eventually swatch_is '#FF8000' || fail "the RGB field gave $(swatch)"
type_into x 0x00336699
eventually swatch_is '#336699' || fail "the hexadecimal field gave $(swatch)"
type_into t '#123456'
eventually swatch_is '#123456' || fail "the HTML field gave $(swatch)"
shot typed

press F6
eventually clipboard_is 'RGB(18, 52, 86)' || fail "F6 did not copy RGB(18, 52, 86)"
press F7
eventually clipboard_is 0x00123456 || fail "F7 did not copy 0x00123456"
press F8
eventually clipboard_is '#123456' || fail "F8 did not copy #123456"
press F9
eventually eval '[ "$(clipboard_image "%[pixel:p{0,0}]" 2>/dev/null)" = "srgb(18,52,86)" ]' ||
    fail "F9 copied no image of the colour"
thumbnail=$(clipboard_image '%wx%h')

offer '#0A141E'
# The Menu key opens the field's context menu, as a right click does; its Paste is Ctrl+V.
press alt+t Menu
eventually eval '[ "$(program_windows)" = 2 ]' || fail "the Menu key opened no context menu in the HTML field"
shot context-menu
xdotool key Escape ctrl+v
eventually swatch_is '#0A141E' || fail "pasting #0A141E from another program gave $(swatch)"
shot pasted

press F12
dialog '^CaptureFrm'
xdotool mousemove --sync 900 600
shot capturing
xdotool click 1
eventually gone '^CaptureFrm' || fail "the capture window stayed"
eventually eval '[ "$(xdotool getactivewindow)" = "$(find_window)" ]' || fail "the editor did not come back active"
eventually swatch_is '#336699' || fail "capturing the #336699 window gave $(swatch)"
read -r x y <<<"$(xwininfo -id "$(find_window)" |
    awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x + 18, y + 200}')"
xdotool mousemove "$x" "$y" click 3
eventually eval '[ "$(program_windows)" = 2 ]' || fail "no context menu on slot 1"
xdotool key Down Down Return # the second entry, "Save Color"
eventually slot1_is '#336699' || fail "Save Color left slot 1 $(client_pixel 18 200)"
shot parked

press F11
dialog '^Select Color$'
xdotool key alt+h ctrl+a
xdotool type --delay 20 '#C0FFEE'
shot colour-dialog
xdotool key Return
eventually swatch_is '#C0FFEE' || fail "the colour dialog gave $(swatch)"

menu f p
dialog '^Preferences\.\.\.'
xdotool key alt+w ctrl+a
xdotool type 48
shot preferences
xdotool key Return
eventually gone '^Preferences\.\.\.' || fail "OK left the preferences open"

menu v t
toolbar_row=27
eventually swatch_is '#C0FFEE' || fail "hiding the toolbar did not move the editor up"
menu v s
menu v a
eventually on_top || fail "always-on-top did not reach the window manager"
before=$(client_origin)
xdotool windowmove "$(find_window)" 400 300
eventually eval '[ "$(client_origin)" != "$before" ]' || fail "the window did not move"
place=$(client_origin)
shot changed
exit_program

start second
eventually swatch_is '#C0FFEE' || fail "the colour came back as $(swatch)"
slot1_is '#336699' || fail "slot 1 came back as $(client_pixel 18 $((200 - toolbar_row)))"
eventually on_top || fail "the second start is not on top"
[ "$(client_origin)" = "$place" ] || fail "the window came back at $(client_origin), not at $place"
press F9
eventually eval '[ "$(clipboard_image "%wx%h %[pixel:p{0,0}]" 2>/dev/null)" = "48x${thumbnail#*x} srgb(192,255,238)" ]' ||
    fail "the thumbnail came back $(clipboard_image '%wx%h'), not 48 wide"
shot second-run-checked
exit_program
echo "ok"
