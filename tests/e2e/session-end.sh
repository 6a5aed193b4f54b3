#!/usr/bin/env bash
# The end of a session as the real program meets it under X, over one store: SIGTERM and SIGHUP end it as
# File, Exit does, also with the preferences dialog or a capture up (they close as Cancel would), with exit
# status 0, and the next start has the colour and the slot set just before.
# Usage: session-end.sh path/to/tintwell
set -euo pipefail
binary=$1
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
    xdotool key Up Return # the last entry, "Save Color"
    eventually slot1_is "$1" || fail "Save Color left slot 1 $(client_pixel 18 200)"
}
end_with() {
    kill -"$1" "$pid"
    local status=0
    wait "$pid" || status=$?
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
menu f x
wait "$pid" || fail "File, Exit ended the program with status $?"
pid=
echo "ok"
