#!/usr/bin/env bash
# Two screens side by side (a private Xvfb with two RandR monitors), the coordinate wallpaper across both, and
# `tintwell --pick`: with the preference CaptureAllScreens off only the primary screen is covered, as ever; on,
# each screen has a capture window of its own and a click anywhere on either picks exactly the pixel under the
# pointer, also when the two screens have different scales. The keys go to the screen the pointer is on, and
# the arrows stay on it. Usage: pick-screens.sh TINTWELL TINTWELL_REG COORDINATE_WALLPAPER
set -euo pipefail
binary=$1 reg=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/xsession.sh"
xsession_start 3840x1080
. "$here/session.sh"
e2e_begin pick-screens
e2e_cleanup() { xsession_stop; }
two_screens
show_coordinates "$3" 3840 1080

# start: tintwell --pick in the background ($pid), once its $expect_windows capture windows are up.
start() {
    start_pick "$binary" --format hex
    eventually eval '[ "$(named_windows "^CaptureFrm" | grep -c .)" = "$expect_windows" ]' ||
        fail "$label: not $expect_windows capture windows"
}

# check X Y [KEY...]: --pick with the pointer on device pixel (X, Y) of the desktop, then the keys or else a
# click, prints the colour of the desktop's pixel ($expect_x, $expect_y). The keys go to the screen under the
# pointer: its window takes them when the pointer enters it.
check() {
    local got
    start
    pick_at "$@"
    finish_pick 0
    got=$(cat "$scratch/out")
    [ "$got" = "$(coordinate_hex "$expect_x" "$expect_y")" ] ||
        fail "$label: --pick at $1,$2 ${*:3} gave $got, not the pixel $expect_x,$expect_y"
}

for factors in "" "1;2"; do
    export QT_SCREEN_SCALE_FACTORS=$factors
    label="primary only, scales ${factors:-1;1}" expect_windows=1
    for point in "0 0" "1919 1079" "1001 333"; do
        read -r expect_x expect_y <<<"$point"
        check "$expect_x" "$expect_y"
    done
    # A click on the other screen picks nothing there; back on the primary one, Escape cancels.
    start
    xdotool mousemove 2900 500 click 1
    pick_at 1000 500 Escape
    finish_pick 1
done

"$reg" add 'HKLM\Software\Corvane\Corvane Devbench\Tintwell\Options' /v CaptureAllScreens /t REG_DWORD /d 1 /f \
    >/dev/null
for factors in "" "1;2" "2;1"; do
    export QT_SCREEN_SCALE_FACTORS=$factors
    label="all screens, scales ${factors:-1;1}" expect_windows=2
    for point in "0 0" "1919 1079" "1920 0" "1921 1" "3839 1079" "2901 777"; do
        read -r expect_x expect_y <<<"$point"
        check "$expect_x" "$expect_y"
    done
    # The keys go to the screen under the pointer; the arrows stop at its edge.
    expect_x=3839 expect_y=501
    check 3837 500 Right Right Right Down Return
    expect_x=1919 expect_y=500
    check 1918 500 Right Right Right Return
done
echo ok
