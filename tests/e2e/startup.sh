#!/usr/bin/env bash
# The real binary's start: the 500 x 400 splash picture stands alone on screen (screenshot at about one
# second), then gives way to the editor window; the start records "Location" and "Version" are in the
# store. Usage: startup.sh path/to/tintwell path/to/tintwell-reg
set -euo pipefail
binary=$1
reg=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/session.sh"
e2e_begin startup

"$binary" &
pid=$!

splash=$(timeout 10 xdotool search --sync --onlyvisible --pid "$pid" | head -n 1)
sleep 1
import -window root "$artefacts/startup-splash.png"
geometry=$(xwininfo -id "$splash")
width=$(awk '/Width:/ {print $2}' <<<"$geometry")
height=$(awk '/Height:/ {print $2}' <<<"$geometry")
x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$geometry")
y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")
[ "$width" = 500 ] && [ "$height" = 400 ] || fail "the splash window is ${width}x${height}"
if xdotool search --onlyvisible --name '^Corvane Tintwell$' >/dev/null 2>&1; then
    fail "the editor window is up while the splash stands"
fi
# The picture's upper part carries no labels: it must match the committed GIF closely.
convert "$artefacts/startup-splash.png" -crop "500x100+$x+$y" +repage "$scratch/shown.png"
convert "$here/../../src/resources/splash/splash.gif" -crop 500x100+0+0 +repage "$scratch/expected.png"
difference=$(compare -metric RMSE "$scratch/shown.png" "$scratch/expected.png" null: 2>&1 | awk '{print $1}')
awk -v d="$difference" 'BEGIN { exit !(d < 1000) }' || fail "the splash does not show the picture (RMSE $difference)"

timeout 20 xdotool search --sync --onlyvisible --name '^Corvane Tintwell$' >/dev/null || fail "no editor window"
xwininfo -id "$splash" 2>/dev/null | grep -q 'IsViewable' && fail "the splash is still on screen"

location=$("$reg" query 'HKLM\Software\Corvane\Corvane Devbench\Tintwell' /v Location)
version=$("$reg" query 'HKLM\Software\Corvane\Corvane Devbench\Tintwell' /v Version)
echo "$location"
echo "$version"
grep -qF "$(dirname "$(readlink -f "$binary")")/" <<<"$location" || fail "Location is not the program's folder"
grep -qF "1.4.0 Build 26" <<<"$version" || fail "Version is not 1.4.0 Build 26"
echo "ok"
