#!/usr/bin/env bash
# F12 on the real binary on a Wayland desktop (headless sway with the desktop portal) at an output scale: the
# program hides itself, the portal's snapshot fills the screen, and the clicked device pixel of a known
# four-colour wallpaper becomes the colour, read back from the clipboard after F7.
# Usage: capture-wayland.sh TINTWELL SCALE [--without-screenshot]
#   --without-screenshot: a desktop whose portal offers no screenshot; F12 warns and the window comes back.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# The layout is 1280x720 logical pixels at every scale; the output and the wallpaper have that times the scale.
layout_width=1280 layout_height=720

if [ "$1" != --inside ]; then
    binary=$1 scale=$2 desktop=${3:-}
    width=$(awk -v s="$scale" -v w=$layout_width 'BEGIN { print w * s }')
    height=$(awk -v s="$scale" -v h=$layout_height 'BEGIN { print h * s }')
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    convert \( -size $((width / 2))x$((height / 2)) xc:'#0A141E' xc:'#FF8000' +append \) \
        \( -size $((width / 2))x$((height / 2)) xc:'#123456' xc:'#FEDCBA' +append \) -append \
        "$scratch/wallpaper.png"
    "$here/wayland/session.sh" $desktop "${width}x$height" "$scale" "$scratch/wallpaper.png" -- \
        "$0" --inside "$binary" "$scale" "$scratch" $desktop
    exit
fi

binary=$2 scale=$3 scratch=$4 desktop=${5:-}
export TINTWELL_REGISTRY_DIR="$scratch/registry"
"$binary" >"$scratch/tintwell.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true' EXIT
fail() {
    echo "FAIL (scale $scale): $*"
    swaymsg -t get_tree | grep '"name"' || true
    cat "$scratch/tintwell.log"
    exit 1
}

shown() { swaymsg -t get_tree | grep -q "\"name\": \"$1"; }
# Generous bounds: a sanitized build answers several times slower, and a passing run never waits them out.
wait_until() { for _ in $(seq 200); do "$@" && return 0; sleep 0.05; done; return 1; }
wait_briefly() { for _ in $(seq 50); do "$@" && return 0; sleep 0.05; done; return 1; }
wait_until shown 'Corvane Tintwell' || fail "no main window"

# pick X Y EXPECTED: capture at the logical point (X, Y), copy with F7 and read the clipboard.
pick() {
    sleep 0.2 # the pointer rests, so the compositor hides its cursor before the snapshot
    # The first key a new client gets can be lost while its keyboard is set up: then F12 is pressed again.
    local tries
    for tries in 1 2 3; do
        wtype -k F12
        wait_briefly shown CaptureFrm && break
    done
    shown CaptureFrm || fail "no capture window"
    ! shown 'Corvane Tintwell' || fail "the main window stayed in sight during the capture"
    sleep 0.1
    "$VPTR" click "$1" "$2" $layout_width $layout_height
    wait_until eval '! shown CaptureFrm' || fail "the capture window stayed"
    wait_until shown 'Corvane Tintwell' || fail "the main window did not come back"
    sleep 0.1
    wtype -k F7
    local copied=
    for _ in $(seq 40); do
        copied=$(wl-paste -n 2>/dev/null || true)
        [ "$copied" = "$3" ] && break
        sleep 0.05
    done
    [ "$copied" = "$3" ] || fail "capture at $1,$2 gave '$copied', expected '$3'"
    echo "scale $scale: capture at $1,$2: $copied"
}

windows() { swaymsg -t get_tree | grep -c '"name": "Corvane Tintwell"' || true; }
if [ "$desktop" = --without-screenshot ]; then
    # The warning is a second window of the program, shown once the main window is back.
    for tries in 1 2 3; do
        wtype -k F12
        wait_briefly eval '[ "$(windows)" = 2 ]' && break
    done
    [ "$(windows)" = 2 ] || fail "no warning with the main window"
    wtype -k Escape
    wait_until eval '[ "$(windows)" = 1 ]' || fail "the warning stayed"
    kill -0 $pid || fail "the program ended"
    echo ok
    exit
fi

# (500, 300) lies in the top left quadrant only when mapped by the snapshot's size; mapped by Qt's rounded
# device pixel ratio (2 at a scale of 1.5) it would land in the bottom right one.
pick 500 300 0x000A141E
pick 1000 200 0x00FF8000
pick 200 600 0x00123456
pick 660 370 0x00FEDCBA
kill -0 $pid || fail "the program ended"
echo ok
