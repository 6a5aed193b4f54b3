#!/usr/bin/env bash
# The real binary under X with a window manager, over one registry: three runs with nothing moved show the
# bars as designed every time; then a colour set, a slot saved, the toolbar dragged to the bottom area and
# always-on-top switched on, then File, Exit; the next start shows them all back and the window manager keeps
# the window above the others.
set -euo pipefail
binary=$1
. "$(dirname "$0")/session.sh"
e2e_begin views
# The window is made afresh when it goes on top: always look it up again (find_window) rather than keep its id.
pixel() { client_pixel "$@"; }
# A point of the client area in screen coordinates.
at() {
    local window
    window=$(find_window)
    xwininfo -id "$window" | awk -v dx="$1" -v dy="$2" '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x + dx, y + dy}'
}
# A toolbar in the bottom area shows its first button just above the status bar; a floating one is a
# window of its own.
docked_at_bottom() {
    [ "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)" = 1 ] || return 1
    [ "$(pixel 150 $toolbar_y)" = "#3366CC" ]
}
start() {
    "$binary" &
    pid=$!
    activate_editor
}
exit_program() {
    menu f x
    wait $pid || fail "the program ended with an error"
    pid=
}
on_top() { xprop -id "$(find_window)" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }

# Client points: the toolbar row below the menu row, slot 1, the large swatch, a point just above the
# status bar (the bottom toolbar area).
toolbar_y=40 slot_x=18 slot_y=200 swatch_y=110 bottom_y=385

# The toolbar in its own row below the menu bar shows its last button, the blue help page, here.
for run in 1 2 3; do
    start
    eventually pixel_is 228 $toolbar_y '#1F5FC4' || fail "run $run: the toolbar is not in its own row below the menu bar"
    exit_program
done

start
xdotool key alt+t ctrl+a
xdotool type --delay 20 '#3366CC'
xdotool key Tab
eventually pixel_is 150 $swatch_y '#3366CC' || fail "typing #3366CC gave $(pixel 150 $swatch_y)"

read -r x y <<<"$(at $slot_x $slot_y)"
xdotool mousemove "$x" "$y" click 3
eventually eval '[ "$(program_windows)" = 2 ]' || fail "no context menu on slot 1"
xdotool key Up Return # the last entry, "Save Color"
eventually pixel_is $slot_x $slot_y '#3366CC' || fail "Save Color left slot 1 $(pixel $slot_x $slot_y)"

# Drag the toolbar by its grip down to the bottom area.
read -r x y <<<"$(at 6 $toolbar_y)"
read -r _ y2 <<<"$(at 6 $bottom_y)"
xdotool mousemove "$x" "$y" mousedown 1
for step in $(seq 20); do
    xdotool mousemove "$((x + 20))" "$((y + (y2 - y) * step / 20))"
done
# Qt opens room for the toolbar in the area under the pointer, drawn in the highlight colour at the window's
# left edge, only after it has followed the pointer there: the button goes up once the room shows.
nudge=0
hover_until_room() {
    nudge=$((1 - nudge))
    xdotool mousemove "$((x + 20 + nudge))" "$y2"
    pixel_is 3 375 '#B7CFE0'
}
eventually hover_until_room || fail "no room opened for the toolbar in the bottom area"
xdotool mouseup 1
eventually pixel_is 150 $toolbar_y '#3366CC' || fail "the toolbar did not leave the top area"
eventually docked_at_bottom || fail "the toolbar floats instead of sitting in the bottom area"

menu v a # "&Always on Top"
eventually on_top || fail "always-on-top did not reach the window manager"
import -window root "$artefacts/views-first-run.png"
exit_program

start
eventually pixel_is 150 $swatch_y '#3366CC' || fail "the colour came back as $(pixel 150 $swatch_y)"
eventually pixel_is 150 $toolbar_y '#3366CC' || fail "the toolbar came back in the top area"
import -window root "$artefacts/views-second-run.png"
docked_at_bottom || fail "the toolbar came back floating"
slot_y_now=$((slot_y - 27))
pixel_is $slot_x $slot_y_now '#3366CC' || fail "slot 1 came back as $(pixel $slot_x $slot_y_now)"
eventually on_top || fail "the second start is not on top"
exit_program
echo "ok"
