#!/usr/bin/env bash
# The capture of the real binary on a Wayland desktop (headless sway with the desktop portal) at an output
# scale, over a wallpaper of the output's device size in which every pixel tells where it is. At scales 1 and 2
# sway shows it one to one; at 1.5 it filters it, and the test's own screenshot (grim) tells what each device
# pixel shows. F12 in the editor: the program hides itself, and the pixel picked with a click, or with the
# arrow keys and Enter, becomes the colour (read back from the clipboard after F7). `tintwell --pick`: a click on
# any device pixel, edge and odd ones included, prints that pixel's colour.
# Usage: capture-wayland.sh TINTWELL COORDINATE_WALLPAPER SCALE [--without-screenshot]
#   --without-screenshot: a desktop whose portal offers no screenshot; F12 warns and the window comes back.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# The layout is 1280x720 logical pixels at every scale; the output and the wallpaper have that times the scale.
layout_width=1280 layout_height=720

if [ "$1" != --inside ]; then
    binary=$1 scale=$3 desktop=${4:-}
    width=$(awk -v s="$scale" -v w=$layout_width 'BEGIN { print w * s }')
    height=$(awk -v s="$scale" -v h=$layout_height 'BEGIN { print h * s }')
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    "$2" "$width" "$height" "$scratch/wallpaper.png"
    "$here/wayland/session.sh" $desktop "${width}x$height" "$scale" "$scratch/wallpaper.png" -- \
        "$0" --inside "$binary" "$scale" "$scratch" "$width" "$height" $desktop
    exit
fi

binary=$2 scale=$3 scratch=$4 width=$5 height=$6 desktop=${7:-}
. "$here/session.sh" # coordinate_hex
export TINTWELL_REGISTRY_DIR="$scratch/registry"
pid=
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
# The pointer rests before every snapshot, so that the compositor hides its cursor, which would be in it.
rest() { sleep 0.2; }

# At 1.5 only points away from the wallpaper's colour edges (every 256 pixels) and the screen's edges, where
# sway's filter blends neighbours; at 1 and 2 the corners and odd pixels too.
case $scale in
1) points=("0 0" "1279 719" "1279 0" "0 719" "1 1" "3 5" "101 37" "650 600" "1001 333") ;;
2) points=("0 0" "2559 1439" "2559 0" "0 1439" "1 1" "3 5" "1001 333" "2001 1111" "650 600") ;;
*) points=("101 37" "650 600" "1001 333" "1500 900" "301 1001" "1863 587") ;;
esac

# What the output shows at each device pixel, in hexadecimal notation; at scales 1 and 2 that is the
# wallpaper's own pixel.
rest
grim "$scratch/screen.png"
shows() {
    local rgb
    rgb=$(convert "$scratch/screen.png" -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}')
    printf '0x00%s' "${rgb#\#}"
}
if [ "$scale" != 1.5 ]; then
    for point in "${points[@]}" "1004 334"; do
        # shellcheck disable=SC2086
        [ "$(shows $point)" = "$(coordinate_hex $point)" ] || fail "the wallpaper is not shown one to one at $point"
    done
fi

"$binary" >"$scratch/tintwell.log" 2>&1 &
pid=$!
wait_until shown 'Corvane Tintwell' || fail "no main window"

windows() { swaymsg -t get_tree | grep -c '"name": "Corvane Tintwell"' || true; }
if [ "$desktop" = --without-screenshot ]; then
    # The warning is a second window of the program, shown once the main window is back. The first key a new
    # client gets can be lost while its keyboard is set up: then F12 is pressed again.
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

# Whether the clipboard holds capture's $want; what it holds is left in $copied.
clipboard_holds_want() { copied=$(wl-paste -n 2>/dev/null || true); [ "$copied" = "$want" ]; }

# capture X Y KEYS...: F12 in the editor, the pointer to device pixel (X, Y), then a click or the keys; F7
# copies the colour, which must be that of (X + DX, Y + DY) where KEYS moved the point.
capture() {
    local x=$1 y=$2 dx=$3 dy=$4 tries copied=
    shift 4
    rest
    for tries in 1 2 3; do
        wtype -k F12
        wait_briefly shown CaptureFrm && break
    done
    shown CaptureFrm || fail "no capture window"
    ! shown 'Corvane Tintwell' || fail "the main window stayed in sight during the capture"
    if [ $# -eq 0 ]; then
        "$VPTR" click "$x" "$y" "$width" "$height"
    else
        # Qt rounds where the pointer entered the window to a whole logical pixel; its first move is exact.
        "$VPTR" move $((x + 9)) $((y + 9)) "$width" "$height"
        "$VPTR" move "$x" "$y" "$width" "$height"
        wtype "$@"
    fi
    wait_until eval '! shown CaptureFrm' || fail "the capture window stayed"
    wait_until shown 'Corvane Tintwell' || fail "the main window did not come back"
    local want
    want=$(shows $((x + dx)) $((y + dy)))
    # F7 is pressed again until the copy arrives: a key sent while the editor takes the keyboard back is lost.
    for tries in 1 2 3; do
        wtype -k F7
        wait_briefly clipboard_holds_want && break
    done
    [ "$copied" = "$want" ] || fail "F12 at $x,$y (moved $dx,$dy) gave '$copied', expected '$want'"
}
capture 1001 333 0 0
capture 1001 333 3 1 -k Right -k Right -k Right -k Down -k Return
kill -0 $pid || fail "the program ended"
echo "scale $scale: F12 picks exact, with the mouse and the keys"
# The editor goes: --pick takes the screen as it is, and the editor would be in it.
kill $pid
wait $pid || true
pid=

# pick X Y: tintwell --pick, a click on device pixel (X, Y); what it printed is in $scratch/out.
pick() {
    rest
    # (A click the capture missed would leave it waiting: 124 then says so.)
    timeout 120 "$binary" --pick --format hex >"$scratch/out" 2>"$scratch/err" &
    local picker=$! status=0
    wait_until shown CaptureFrm || fail "no capture window for --pick"
    "$VPTR" click "$1" "$2" "$width" "$height"
    wait $picker || status=$?
    [ $status = 0 ] || fail "--pick ended with $status: $(cat "$scratch/err")"
    [ ! -s "$scratch/err" ] || fail "--pick wrote to standard error: $(head -c 500 "$scratch/err")"
}
if [ "$scale" = 1 ]; then
    # The pipette shows over the capture window: the surface the program names as its pointer gets a picture.
    # (This compositor leaves the pointer out of every screenshot, so the protocol tells.)
    WAYLAND_DEBUG=client timeout 120 "$binary" --pick >"$scratch/out" 2>"$scratch/protocol" &
    picker=$!
    wait_until shown CaptureFrm || fail "no capture window for --pick"
    pointer_has_picture() {
        local surface
        surface=$(grep -o 'set_cursor([0-9]*, wl_surface@[0-9]*' "$scratch/protocol" | tail -n 1 | grep -o 'wl_surface@[0-9]*')
        [ -n "$surface" ] && grep -q "$surface\.attach(wl_buffer@" "$scratch/protocol"
    }
    "$VPTR" move 600 300 "$width" "$height"
    wait_until pointer_has_picture || fail "the pointer over the capture window has no picture"
    wtype -k Escape
    status=0
    wait $picker || status=$?
    [ $status = 1 ] || fail "Escape ended --pick with $status"
fi
for point in "${points[@]}"; do
    read -r x y <<<"$point"
    pick "$x" "$y"
    got=$(cat "$scratch/out")
    [ "$got" = "$(shows "$x" "$y")" ] || fail "--pick at $x,$y printed '$got', expected '$(shows "$x" "$y")'"
done
echo "scale $scale: --pick exact at ${#points[@]} points"
echo ok
