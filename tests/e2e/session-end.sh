#!/usr/bin/env bash
# The end of a session as the real program meets it under X, over one store: SIGTERM and SIGHUP end it as
# File, Exit does, also with the preferences dialog or a capture up (they close as Cancel would), with exit
# status 0, and the next start has the colour and the slot set just before. A program killed outright (as
# when the display goes first at a logout) has saved its colours by itself a moment after their change.
# A repeated signal during the exit is the same request, a signal during the splash ends the program normally too,
# and a reader of its standard error that has gone costs the program nothing.
# Usage: session-end.sh path/to/tintwell path/to/tintwell-reg path/to/registry_writer
set -euo pipefail
binary=$1
reg=$2
writer=$3
. "$(dirname "$0")/session.sh"
e2e_begin session-end

swatch() { client_pixel 150 110; }
swatch_is() { pixel_is 150 110 "$1"; }
slot1_is() { pixel_is 18 200 "$1"; }
thumbnail_width() { xclip -o -selection clipboard -t image/png 2>/dev/null | identify -format '%w' - 2>/dev/null; }
set_colour() {
    xdotool key alt+t ctrl+a
    xdotool type --delay 20 "$1"
    xdotool key Tab
    eventually swatch_is "$1" || fail "typing $1 gave $(swatch)"
}
save_slot1() {
    local x y
    read -r x y <<<"$(xwininfo -id "$window" |
        awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x + 18, y + 200}')"
    xdotool mousemove "$x" "$y" click 3
    eventually eval '[ "$(program_windows)" = 2 ]' || fail "no context menu on slot 1"
    xdotool key Down Down Return # the second entry, "Save Color"
    eventually slot1_is "$1" || fail "Save Color left slot 1 $(client_pixel 18 200)"
}
end_with() {
    kill -"$1" "$pid"
    await_end "$pid" "SIG$1"
    pid=
    [ "$status" = 0 ] || fail "SIG$1 ended the program with status $status"
}
comes_back() {
    e2e_start "$binary"
    eventually swatch_is "$1" || fail "after $2 the colour came back as $(swatch), not $1"
    slot1_is "$1" || fail "after $2 slot 1 came back as $(client_pixel 18 200), not $1"
}

e2e_start "$binary"
for round in TERM:#123456 HUP:#654321; do
    signal=${round%%:*} colour=${round#*:}
    set_colour "$colour"
    save_slot1 "$colour"
    end_with "$signal"
    comes_back "$colour" "SIG$signal"
done

# SIGTERM with the preferences dialog up and a width typed but not applied: the dialog closes as Cancel.
menu f p
wait_window '^Preferences\.\.\.' >/dev/null || fail "no preferences dialog"
xdotool key alt+w ctrl+a
xdotool type 77
end_with TERM
comes_back '#654321' "SIGTERM over the preferences"
xdotool key F9
eventually eval '[ "$(thumbnail_width)" = 32 ]' || fail "the width typed in the cancelled dialog was kept"

# SIGTERM during a capture: the capture is cancelled, the colour stays.
xdotool key F12
wait_window '^CaptureFrm$' >/dev/null || fail "F12 showed no capture window"
end_with TERM
comes_back '#654321' "SIGTERM during a capture"

# kill -9 once the store holds the new colour by itself: nothing set before that is lost.
set_colour '#0F1E2D'
save_slot1 '#0F1E2D'
stored() {
    "$reg" query 'HKLM\Software\Corvane\Corvane Devbench\Tintwell\Storage' /v "$1" 2>/dev/null | grep -qw "$2"
}
eventually eval 'stored pCurrentColor_Color 2956815 && stored pSlot1_Color 2956815' ||
    fail "the colour store did not save itself after the colour and the slot changed"
kill -KILL "$pid"
wait "$pid" 2>/dev/null || true
pid=
comes_back '#0F1E2D' "kill -9"
quit_editor

options() { "$reg" query 'HKLM\Software\Corvane\Corvane Devbench\Tintwell\Options' /v "$1" 2>/dev/null; }
copied_is() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }
# A second SIGTERM 5 or 20 ms after the first, as a session's end may send it: one normal exit, with the
# preferences saved (the magnifier's zoom, changed with the wheel in a capture) and the copied colour kept.
for round in 0.005:0xf 0.02:0x19; do
    gap=${round%%:*} zoom=${round#*:}
    e2e_start "$binary"
    xdotool key F12
    wait_window '^CaptureFrm$' >/dev/null || fail "F12 showed no capture window"
    xdotool mousemove 700 500
    eventually keys_under_pointer || fail "the capture window did not get the keyboard"
    xdotool click 5 key Escape
    eventually window_gone '^CaptureFrm$' || fail "Escape left the capture"
    set_colour '#2468AC'
    xdotool key F7
    eventually copied_is 0x002468AC || fail "F7 copied $(xclip -o -selection clipboard)"
    kill -TERM "$pid"
    sleep "$gap"
    kill -TERM "$pid" 2>/dev/null || true
    await_end "$pid" "two SIGTERMs"
    pid=
    [ "$status" = 0 ] || fail "two SIGTERMs $gap s apart ended the program with status $status"
    options CaptureZoom | grep -qw "$zoom" || fail "the zoom was not saved: $(options CaptureZoom)"
    eventually copied_is 0x002468AC || fail "the copied colour was lost: $(xclip -o -selection clipboard)"
done

# SIGTERM while the splash (the window 500 pixels wide) shows: the program ends normally.
"$binary" &
pid=$!
splash_shown() {
    local id
    id=$(xdotool_clean search --onlyvisible --pid "$pid" | head -n 1) && [ -n "$id" ] &&
        [ "$(xwininfo -id "$id" 2>/dev/null | awk '/Width:/ {print $2}')" = 500 ]
}
eventually splash_shown || fail "no splash"
kill -TERM "$pid"
await_end "$pid" "SIGTERM during the splash"
pid=
[ "$status" = 0 ] || fail "SIGTERM during the splash ended the program with status $status"

# Standard error is a pipe whose reader has gone; the exit's warning (another program holds the store's write
# lock) goes nowhere, and the program still ends normally with the copied colour kept.
"$binary" 2> >(true) &
pid=$!
window=$(find_window) || fail "no editor window"
activate_editor
set_colour '#13579B'
xdotool key F7
eventually copied_is 0x0013579B || fail "F7 copied $(xclip -o -selection clipboard)"
"$writer" lock >"$scratch/locker" &
others=$!
eventually grep -q locked "$scratch/locker" || fail "no lock taken"
kill -TERM "$pid"
await_end "$pid" "SIGTERM with the store locked"
pid=
[ "$status" = 0 ] || fail "with its standard error's reader gone the program ended with status $status"
eventually copied_is 0x0013579B || fail "the copied colour was lost: $(xclip -o -selection clipboard)"
echo "ok"
