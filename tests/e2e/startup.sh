#!/usr/bin/env bash
# The real binary's start: the 500 x 400 splash picture stands alone on screen, then gives way to the editor
# window; the start records "Location" and "Version" are in the store.
# Usage: startup.sh path/to/tintwell path/to/tintwell-reg
set -euo pipefail
binary=$1
reg=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/session.sh"
e2e_begin startup

viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
# Whether the screenshot shows the splash picture where the splash stands: its upper part carries no labels
# and must match the committed GIF closely.
shows_picture() {
    local x y difference
    x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$geometry")
    y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")
    convert "$scratch/shot.png" -crop "500x100+$x+$y" +repage "$scratch/shown.png"
    difference=$(compare -metric RMSE "$scratch/shown.png" "$scratch/expected.png" null: 2>&1 | awk '{print $1}')
    awk -v d="$difference" 'BEGIN { exit !(d < 1000) }'
}
convert "$here/../../src/resources/splash/splash.gif" -crop 500x100+0+0 +repage "$scratch/expected.png"

# One start, watched while the splash stands: its size, whether the editor is up yet, and screenshots until
# one shows the picture. What is seen counts only when the splash is still on screen after the looking; a
# start whose splash went before that (a very busy machine) proves nothing, and the program starts again.
looked=0
watch_splash() {
    "$binary" &
    pid=$!
    splash=$(first_program_window) || fail "the program showed no window"
    geometry=$(xwininfo -id "$splash" 2>/dev/null) || return 1
    editor=$(named_windows '^Corvane Tintwell$') || return 1
    while viewable "$splash"; do
        import -window root "$scratch/shot.png"
        viewable "$splash" || return 1
        looked=1
        shows_picture && return 0
    done
    return 1
}
for try in 1 2 3; do
    watch_splash && break
    if [ "$try" = 3 ]; then
        [ "$looked" = 0 ] || fail "the splash does not show the picture"
        fail "in three starts, the splash was gone before it could be looked at"
    fi
    kill "$pid"
    wait "$pid" 2>/dev/null || true
done
cp "$scratch/shot.png" "$artefacts/startup-splash.png"
width=$(awk '/Width:/ {print $2}' <<<"$geometry")
height=$(awk '/Height:/ {print $2}' <<<"$geometry")
[ "$width" = 500 ] && [ "$height" = 400 ] || fail "the first window is ${width}x${height}, not the splash"
[ -z "$editor" ] || fail "the editor window is up while the splash stands"

# The splash is gone before the editor window is shown.
find_window >/dev/null || fail "no editor window"
viewable "$splash" && fail "the splash is still on screen"

location=$("$reg" query 'HKLM\Software\Corvane\Corvane Devbench\Tintwell' /v Location)
version=$("$reg" query 'HKLM\Software\Corvane\Corvane Devbench\Tintwell' /v Version)
echo "$location"
echo "$version"
grep -qF "$(dirname "$(readlink -f "$binary")")/" <<<"$location" || fail "Location is not the program's folder"
grep -qF "1.4.0 Build 26" <<<"$version" || fail "Version is not 1.4.0 Build 26"
echo "ok"
