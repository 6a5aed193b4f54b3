#!/usr/bin/env bash
# A picked colour on screens with colour profiles, as a desktop's colour manager publishes them on the root
# window: on two screens side by side (a private Xvfb with two RandR monitors) painted with one device colour,
# `tintwell --pick --space srgb` gives what LittleCMS's own transicc makes of it by the profile of the screen
# picked from; without --space the device value, as the preference says; F12 in the editor with the preference
# on gives the sRGB value; with the profile withdrawn, or one that cannot serve, the device value and a word
# on standard error. Usage: colour-profile.sh TINTWELL TINTWELL_REG DISPLAY_PROFILE
set -euo pipefail
binary=$1 reg=$2 profiles=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/xsession.sh"
xsession_start 3840x1080
. "$here/session.sh"
e2e_begin colour-profile
e2e_cleanup() { xsession_stop; }
two_screens
device='#EE8533'
xsetroot -solid "$device"
for kind in p3 adobe garbage cut; do "$profiles" write "$kind" "$scratch/$kind.icc"; done
options='HKLM\Software\Corvane\Corvane Devbench\Tintwell\Options'

# srgb_of PROFILE [COLOUR]: the device colour (or COLOUR) in sRGB by transicc (relative colorimetric, no
# precalculation), rounded and brought into 0 to 255.
srgb_of() {
    local colour=${2:-$device}
    echo "$((16#${colour:1:2})) $((16#${colour:3:2})) $((16#${colour:5:2}))" |
        transicc -i"$1" -o'*sRGB' -t1 -c0 -n 2>/dev/null |
        awk '{ for (i = 1; i <= 3; ++i) { v = int($i + 0.5); c[i] = v < 0 ? 0 : v > 255 ? 255 : v }
               printf "#%02X%02X%02X\n", c[1], c[2], c[3] }'
}
p3=$(srgb_of "$scratch/p3.icc") adobe=$(srgb_of "$scratch/adobe.icc")
[ "$p3" != "$device" ] && [ "$adobe" != "$device" ] && [ "$p3" != "$adobe" ] || fail "transicc gave $p3 and $adobe"

# picks X EXPECTED ARG...: --pick ARG... with a click at (X, 500) prints EXPECTED.
picks() {
    start_pick "$binary" "${@:3}"
    pick_at "$1" 500
    finish_pick 0
    [ "$(cat "$scratch/out")" = "$2" ] || fail "--pick ${*:3} at $1 gave $(cat "$scratch/out"), not $2"
}

"$profiles" publish _ICC_PROFILE "$scratch/p3.icc"
"$profiles" publish _ICC_PROFILE_1 "$scratch/adobe.icc"
picks 700 "$p3" --space srgb --verbose
grep -qF "device $device, sRGB $p3" "$scratch/err" && grep -qF '"Wide P3 display"' "$scratch/err" ||
    fail "--verbose said: $(cat "$scratch/err")"
picks 700 "$device"
picks 700 "$device" --space device

# Each screen by its own profile, when the capture covers both.
"$reg" add "$options" /v CaptureAllScreens /t REG_DWORD /d 1 /f >/dev/null
picks 2700 "$adobe" --space srgb
picks 700 "$p3" --space srgb

# The preference in the editor: F12, a click, and F7 hands on the sRGB value.
"$reg" add "$options" /v CaptureSRGB /t REG_DWORD /d 1 /f >/dev/null
e2e_start "$binary"
xdotool key F12
wait_window '^CaptureFrm' >/dev/null || fail "no capture window"
pick_at 2700 500
eventually window_gone '^CaptureFrm' || fail "the capture window stayed"
eventually has_focus "$window" || fail "the editor did not come back with the keyboard"
xdotool key F7
expected=0x00${adobe:1}
eventually eval '[ "$(xclip -o -selection clipboard)" = "$expected" ]' ||
    fail "F12 with the preference on gave $(xclip -o -selection clipboard), not $expected"
kill "$pid" && wait "$pid" || true
pid=
# ... and in --pick, which follows it.
picks 2700 "$adobe"
# A sample's mean of the device values is what the profile converts: a checkerboard of the colour and black.
convert -size 3840x1080 pattern:gray50 -fill "$device" -opaque white -depth 8 "PNG24:$scratch/checker.png"
display -window root "$scratch/checker.png" || true
mean=$(area_mean "$scratch/checker.png" 2700 500 5)
picks 2700 "$(srgb_of "$scratch/adobe.icc" "$mean")" --sample 5
xsetroot -solid "$device"

# A profile switched while nothing runs is read afresh; one that cannot serve, or none, gives the device value.
"$profiles" publish _ICC_PROFILE_1 "$scratch/p3.icc"
picks 2700 "$p3"
"$profiles" publish _ICC_PROFILE_1 "$scratch/garbage.icc"
picks 2700 "$device" --verbose
[ "$(wc -l <"$scratch/err")" = 1 ] && grep -q "can't be used" "$scratch/err" ||
    fail "an unusable profile was not told of in one line: $(cat "$scratch/err")"
"$profiles" publish _ICC_PROFILE "$scratch/cut.icc"
picks 700 "$device" --verbose
[ "$(wc -l <"$scratch/err")" = 1 ] && grep -q "can't be used" "$scratch/err" ||
    fail "a profile cut short was not told of in one line: $(cat "$scratch/err")"
"$profiles" withdraw _ICC_PROFILE
picks 700 "$device" --space srgb
grep -q 'no usable color profile' "$scratch/err" || fail "--space srgb without a profile said: $(cat "$scratch/err")"
echo ok
