#!/usr/bin/env bash
# The clipboard as a person meets it under X with a window manager. A clipboard owner that never answers costs
# the window nothing, neither when it is there at start nor when it takes the clipboard later; clipboard text
# pastes up to its first zero byte; and a colour or a thumbnail copied before the program ends can still be
# pasted after it, until another program takes the clipboard, while whoever reads the program's output is
# not kept waiting. Usage: clipboard.sh path/to/tintwell path/to/hung_clipboard_owner
set -euo pipefail
binary=$1 hung_owner=$2
. "$(dirname "$0")/session.sh"
e2e_begin clipboard

swatch_is() { pixel_is 150 110 "$1"; }
# within SECONDS CMD...: like eventually, but for a few seconds only: a read blocked by the hung owner takes
# five to fifteen.
within() {
    local try
    for try in $(seq $(($1 * 10))); do "${@:2}" && return 0; sleep 0.1; done
    return 1
}
# hang N: another hung owner takes the clipboard.
hang() {
    "$hung_owner" >"$scratch/hung-$1" &
    others="$others $!"
    eventually grep -q owned "$scratch/hung-$1" || fail "hung owner $1 did not take the clipboard"
}
press() { timeout 10 xdotool windowactivate --sync "$window" && xdotool key "$@"; }
# A reader waits for the clipboard's owner as long as it takes: these give up after a few seconds.
clipboard_is() { [ "$(timeout 5 xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }
thumbnail_is() {
    local size_and_colour
    size_and_colour=$(timeout 5 xclip -o -selection clipboard -t image/png 2>/dev/null |
        convert - -format '%wx%h %[pixel:p{0,0}]' info: 2>/dev/null) || return 1
    [ "$size_and_colour" = "$1" ]
}
# The holder processes this test's program left: they share its private store folder.
holders() {
    local p
    for p in $(pgrep -f -- --clipboard-holder); do
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qxF "TINTWELL_REGISTRY_DIR=$TINTWELL_REGISTRY_DIR" && echo "$p"
    done
    return 0
}
# A holder left by a failed step is ended with the test.
e2e_cleanup() { others="$others $(holders)"; }
# close_program: Alt+F4 ends the program normally.
close_program() {
    press alt+F4
    eventually eval '! kill -0 "$pid" 2>/dev/null' || fail "the program did not end"
    wait "$pid" || fail "the program ended with status $?"
    pid=
}
# The holder serves until another program takes the clipboard, then ends.
holder_ends_when_taken() {
    local holder
    holder=$(holders)
    [ -n "$holder" ] || fail "no holder process serves the clipboard"
    offer 'another program'
    eventually eval '[ -z "$(holders)" ]' || fail "the holder did not end when another program took the clipboard"
}

# The program's output goes to a pipe whose reader notes when every writer has let go of it.
hang 1
exec 3> >(cat >/dev/null; touch "$scratch/output-closed")
e2e_start sh -c 'exec "$0" >&3 2>&3 3>&-' "$binary"
exec 3>&-

# Typing shows at once, although the clipboard's owner never answers: at start, and when another hung owner
# takes the clipboard.
press alt+d ctrl+a 0
within 4 swatch_is '#00FFFF' || fail "typing in Red did not show while the clipboard's owner hangs"
hang 2
press alt+g ctrl+a 0
within 4 swatch_is '#0000FF' || fail "typing in Green did not show once a hung owner took the clipboard"

# Clipboard text ends at its first zero byte: Ctrl+V in the HTML field pastes what stands before it.
printf '#0A141E\0zz' | xclip -selection clipboard -i >/dev/null 2>&1
paste_html() { press alt+t ctrl+v; swatch_is '#0A141E'; }
eventually paste_html || fail "Ctrl+V of '#0A141E\\0zz' in the HTML field gave $(client_pixel 150 110)"

# An owner whose transfer never ends is dropped: once another program takes the clipboard, its colour pastes.
"$hung_owner" --endless >"$scratch/endless" &
others="$others $!"
eventually grep -q owned "$scratch/endless" || fail "the endless owner did not take the clipboard"
press alt+t ctrl+a
xdotool type --delay 20 '#102030'
press Tab
eventually swatch_is '#102030' || fail "typing #102030 gave $(client_pixel 150 110)"
printf '#0A141E' | xclip -selection clipboard -i >/dev/null 2>&1
eventually paste_html || fail "after an endless transfer Ctrl+V in the HTML field gave $(client_pixel 150 110)"

# F7, then the program ends: the text can still be pasted, and the program's output is closed.
press F7
eventually clipboard_is 0x000A141E || fail "F7 did not copy 0x000A141E"
close_program
eventually clipboard_is 0x000A141E || fail "the copied text went with the program"
eventually test -e "$scratch/output-closed" || fail "the program's output stayed open after it ended"
holder_ends_when_taken

# The same for the thumbnail (F9).
e2e_start "$binary"
press F9
eventually thumbnail_is '32x32 srgb(10,20,30)' || fail "F9 did not copy the thumbnail"
close_program
eventually thumbnail_is '32x32 srgb(10,20,30)' || fail "the copied thumbnail went with the program"
holder_ends_when_taken
echo "ok"
