#!/usr/bin/env bash
# `tintwell --pick` on the real binary under X, over a root window whose every pixel tells where it is: at each
# display scale (QT_SCALE_FACTOR 1, 1.25, 1.5, 1.75, 2, and Xft.dpi 144) a click on any device pixel, edge and
# odd ones included, prints exactly that pixel's colour; the arrow keys move by one device pixel (Shift: ten)
# and Enter picks. Escape and the right button cancel with nothing printed; the Enter that started the pick
# does nothing; the store is not written; the command line's other answers.
# Usage: pick.sh TINTWELL COORDINATE_WALLPAPER
set -euo pipefail
binary=$1
. "$(dirname "$0")/session.sh"
e2e_begin pick
e2e_cleanup() {
    xrdb -remove 2>/dev/null || true
    xsetroot -solid black 2>/dev/null || true
}
show_coordinates "$2" 1920 1080
at() { coordinate_hex "$@"; }

# start_pick [ARG...]: tintwell --pick in the background ($pid), its output in $scratch/out and err; waits for
# its capture window.
start_pick() {
    "$binary" --pick "$@" >"$scratch/out" 2>"$scratch/err" &
    pid=$!
    wait_window '^CaptureFrm' >/dev/null || fail "no capture window"
}

# finish EXPECTED_STATUS: waits for the pick to end and checks its exit status.
finish() {
    local status=0
    wait "$pid" || status=$?
    pid=
    [ "$status" = "$1" ] || fail "exit status $status, expected $1 ($(cat "$scratch/err"))"
}

# pick X Y [KEY...]: with the pointer on device pixel (X, Y), types the keys or else clicks; prints the output.
# (No --sync on the moves: it waits 15 s for a pointer that is already there, and the X server takes a move
# before the keys and clicks that follow it anyway.)
pick() {
    local x=$1 y=$2
    shift 2
    start_pick --format hex
    xdotool mousemove "$x" "$y"
    if [ $# -gt 0 ]; then xdotool key "$@"; else xdotool click 1; fi
    finish 0
    cat "$scratch/out"
}

points=("0 0" "1919 1079" "1919 0" "0 1079" "960 540" "1 1" "3 5" "1001 333" "257 769" "1543 977")
for scale in 1 1.25 1.5 1.75 2 dpi144; do
    if [ "$scale" = dpi144 ]; then
        echo 'Xft.dpi: 144' | xrdb -merge
        unset QT_SCALE_FACTOR
    else
        export QT_SCALE_FACTOR=$scale
    fi
    for point in "${points[@]}"; do
        read -r x y <<<"$point"
        got=$(pick "$x" "$y")
        [ "$got" = "$(at "$x" "$y")" ] || fail "at scale $scale a click on $x,$y picked $got, not $(at "$x" "$y")"
    done
    got=$(pick 1001 333 Right Right Right Down Return)
    [ "$got" = "$(at 1004 334)" ] || fail "at scale $scale three Right, a Down and Enter from 1001,333 picked $got"
    got=$(pick 1001 333 shift+Left Up space)
    [ "$got" = "$(at 991 332)" ] || fail "at scale $scale Shift+Left, Up and Space from 1001,333 picked $got"
    # The arrows stay on the screen.
    got=$(pick 1918 1 Right Right Up Return)
    [ "$got" = "$(at 1919 0)" ] || fail "at scale $scale the arrows left the screen: $got"
    echo "scale $scale: ${#points[@]} clicks and three key picks exact"
done
xrdb -remove
unset QT_SCALE_FACTOR

# The notations; html is the default.
start_pick
xdotool mousemove 10 20 click 1
finish 0
[ "$(cat "$scratch/out")" = '#0A1400' ] || fail "the default notation printed $(cat "$scratch/out")"
start_pick --format rgb
xdotool mousemove 10 20 click 1
finish 0
[ "$(cat "$scratch/out")" = 'RGB(10, 20, 0)' ] || fail "--format rgb printed $(cat "$scratch/out")"

# Escape (on its release) and the right button cancel: status 1, nothing printed.
for cancel in "key Escape" "click 3"; do
    start_pick
    # shellcheck disable=SC2086
    xdotool $cancel
    finish 1
    [ ! -s "$scratch/out" ] || fail "a pick cancelled by $cancel printed $(cat "$scratch/out")"
done

# The Enter that started the pick in a terminal is released in the capture window: it picks nothing. Held
# long enough, its repeats come there too.
xdotool mousemove 500 500
xdotool keydown Return
start_pick --format hex
xdotool keyup Return
xdotool mousemove 700 300 click 1
finish 0
[ "$(cat "$scratch/out")" = "$(at 700 300)" ] || fail "the Enter that started the pick picked $(cat "$scratch/out")"

# Nothing of all this was stored.
[ ! -e "$TINTWELL_REGISTRY_DIR" ] || [ -z "$(ls -A "$TINTWELL_REGISTRY_DIR")" ] || fail "a pick wrote to the store"

# The command line's other answers.
"$binary" --version >"$scratch/out"
grep -qx 'Corvane Tintwell [0-9]*\.[0-9]*\.[0-9]* Build [0-9]*' "$scratch/out" || fail "--version: $(cat "$scratch/out")"
"$binary" --help >"$scratch/out"
grep -q -- '--pick' "$scratch/out" || fail "--help does not tell of --pick"
for wrong in --frobnicate "--pick --format cmyk" "--format hex" extra; do
    status=0
    # shellcheck disable=SC2086
    "$binary" $wrong >"$scratch/out" 2>"$scratch/err" || status=$?
    [ "$status" = 2 ] || fail "'$wrong' ended with $status, not 2"
    grep -q '^Usage: tintwell' "$scratch/err" || fail "'$wrong' gave no usage line"
    [ ! -s "$scratch/out" ] || fail "'$wrong' printed $(cat "$scratch/out")"
done
echo ok
