#!/usr/bin/env bash
# The capture of the real binary on a headless GNOME or KDE Plasma desktop (1280x720, scale 1) over a wallpaper in
# which every pixel tells where it is, as a user drives it: `tintwell --pick` picks exactly the pixel clicked at
# corners, edges and spread points, and the pixel under the pointer where it stood when the capture began (on KDE
# the desktop portal draws the pointer into its picture: KWin's own service leaves it out); the arrows and Enter
# pick, Escape and the right button cancel; F12 in the editor hides the editor before the snapshot; no picture of
# the screen is left among the user's files. Every pick runs under a time limit: a hang fails, it does not wait.
# With --ungranted (KDE), the program is not granted KWin's service and works through the portal.
# Usage: capture-desktop.sh gnome|kde TINTWELL COORDINATE_WALLPAPER TINTWELL_REG [--ungranted]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ "$1" != --inside ]; then
    desktop=$1 binary=$2 tool=$3 reg=$4 mode=${5:-}
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    "$tool" 1280 720 "$scratch/wallpaper.png"
    [ "$mode" != --ungranted ] || export KDE_UNGRANTED=1
    "$here/wayland/desktop-session.sh" "$desktop" "$tool" "$scratch/wallpaper.png" "$binary" -- \
        "$0" --inside "$desktop" "$binary" "$reg" "$scratch" "$mode"
    exit
fi

desktop=$2 binary=$3 reg=$4 scratch=$5 mode=${6:-}
. "$here/session.sh" # coordinate_hex
export TINTWELL_REGISTRY_DIR="$scratch/registry"
fail() {
    echo "FAIL ($desktop $mode): $*"
    grep -E 'set_title|wl_keyboard@[0-9]+\.(enter|leave|key)\(|wl_pointer@[0-9]+\.(enter|leave)|^[^[]' \
        "$scratch/log" 2>/dev/null | tail -n 30 || true
    echo "The desktop's last words:"
    tail -n 15 "$W/desktop.log" 2>/dev/null || true
    exit 1
}
drive() {
    local reply
    echo "$*" >"$DRIVE_IN"
    read -r reply <"$DRIVE_OUT"
    [ "$reply" = done ] || fail "the input helper answered '$reply' to '$*'"
}
# Generous bounds: a sanitized build answers several times slower, and a passing run never waits them out.
wait_until() { for _ in $(seq 300); do "$@" && return 0; sleep 0.05; done; return 1; }
# The program's protocol log tells when its capture window is up: Qt names the window, and the compositor then
# gives it the keyboard; and the pointer, once it has moved over the window (a click before that goes elsewhere).
window_has() {
    awk -v title="set_title(\"$2\")" -v what="$3" 'index($0, title) {named = 1}
         named && $0 ~ "wl_" what "@[0-9]+\\.enter\\([0-9]+, wl_surface" {found = 1} END {exit !found}' "$1"
}
capture_has() { window_has "$1" CaptureFrm "$2"; }
# window_active LOG TITLE: Qt makes the window that got the keyboard its active one only once a wl_display.sync
# sent for it has come back; until then a key reaches the window but fires none of its shortcuts. Done: the first
# sync callback answered after the keyboard came.
window_active() {
    awk -v title="set_title(\"$2\")" '
        function callback(text) { match(text, /wl_callback@[0-9]+/); return substr(text, RSTART + 12, RLENGTH - 12) }
        index($0, title) {named = 1}
        named && $0 ~ "wl_keyboard@[0-9]+\\.enter\\([0-9]+, wl_surface" {entered = 1}
        /new id wl_callback@/ {sync[callback($0)] = $0 ~ /wl_display@1\.sync\(/}
        entered && / wl_callback@[0-9]+\.done\(/ && sync[callback($0)] {found = 1}
        END {exit !found}' "$1"
}
# pointer_over X Y: moves the pointer over the capture window to (X, Y), by way of a neighbour, until it is there.
# Mutter now and then tells a window that appeared under a resting pointer of no pointer until it moves again,
# and then not always at the first motion: the pointer moves again each second until the window has it.
pointer_over() {
    local try
    for try in $(seq 15); do
        drive move "$(($1 + 1))" "$2"
        drive move "$1" "$2"
        for _ in $(seq 20); do
            capture_has "$scratch/log" pointer && return 0
            sleep 0.05
        done
    done
    fail "the pointer did not come over the capture window at $1,$2"
}

# start_pick: `tintwell --pick --format hex` under a time limit, up with the keyboard; finish_pick STATUS.
start_pick() {
    WAYLAND_DEBUG=client timeout 30 "$binary" --pick --format hex >"$scratch/out" 2>"$scratch/log" &
    picker=$!
    wait_until capture_has "$scratch/log" keyboard || fail "no capture window with the keyboard"
}
finish_pick() {
    local status=0
    wait "$picker" || status=$?
    [ "$status" = "$1" ] || fail "--pick ended with $status, not $1 (124: it did not end)"
}
# pick_at X Y [PARK_X PARK_Y]: the pointer waits at PARK (a corner of the screen unless given) while the capture
# begins, so that the window appears under it; then a click on (X, Y).
pick_at() {
    drive move "${3:-1200}" "${4:-650}"
    start_pick
    pointer_over "$1" "$2"
    drive click "$1" "$2"
    finish_pick 0
    [ "$(cat "$scratch/out")" = "$(coordinate_hex "$1" "$2")" ] ||
        fail "a click on $1,$2 picked $(cat "$scratch/out"), not $(coordinate_hex "$1" "$2")"
}
no_picture_left() {
    local left
    left=$(find "$HOME" -name '*.png' 2>/dev/null)
    [ -z "$left" ] || fail "a picture of the screen was left: $left"
}

# (GNOME's top bar covers the top 32 pixels, and the snapshot shows it there.)
points=("640 360" "0 719" "1279 719" "1279 40" "0 40" "1 41" "640 360" "1001 333" "101 537" "777 555")
[ "$mode" = --ungranted ] && points=("0 719" "1001 333" "640 360")
for point in "${points[@]}"; do
    # shellcheck disable=SC2086
    pick_at $point
done
echo "$desktop $mode: --pick exact at ${#points[@]} points"
no_picture_left
[ "$mode" = --ungranted ] && { echo ok; exit 0; }

# Where the pointer stood when the capture began: the screen's pixel, not the pointer's.
pick_at 600 300 600 300

# The arrows and Enter, from where the pointer is; Escape and the right button cancel, printing nothing.
start_pick
pointer_over 500 400
for key in Right Right Down Return; do drive key "$key"; done
finish_pick 0
[ "$(cat "$scratch/out")" = "$(coordinate_hex 502 401)" ] || fail "Right, Right, Down and Enter picked $(cat "$scratch/out")"
for cancel in "key Escape" "click 300 300 right"; do
    start_pick
    pointer_over 300 300
    # shellcheck disable=SC2086
    drive $cancel
    finish_pick 1
    [ ! -s "$scratch/out" ] || fail "a pick cancelled by $cancel printed $(cat "$scratch/out")"
done
echo "$desktop: the pointer's place, the keys and the cancels"

# F12 in the editor, which opens over the middle of the screen: the editor is out of the snapshot, and the pixel
# picked there becomes the colour, which the store holds a moment later.
WAYLAND_DEBUG=client "$binary" >/dev/null 2>"$scratch/log" &
editor=$!
wait_until window_active "$scratch/log" "Corvane Tintwell" || fail "the editor did not become the active window"
drive key F12
wait_until capture_has "$scratch/log" keyboard || fail "F12 showed no capture window with the keyboard"
pointer_over 640 360
drive click 640 360
want=$(coordinate_hex 640 360)
stored() {
    "$reg" query 'HKLM\Software\Corvane\Corvane Devbench\Tintwell\Storage' /v pCurrentColor_Color 2>/dev/null |
        grep -qw "$(printf '%d' "0x${want:8:2}${want:6:2}${want:4:2}")"
}
wait_until stored || fail "F12 and a click on the middle of the screen did not give $want: $("$reg" query \
    'HKLM\Software\Corvane\Corvane Devbench\Tintwell\Storage' /v pCurrentColor_Color 2>&1 | grep -o 'REG_SZ.*')"
kill "$editor"
wait "$editor" || fail "the editor ended with status $?"
no_picture_left
echo ok
