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

# pick X Y [KEY...]: with the pointer on device pixel (X, Y), types the keys or else clicks; $got is what the
# pick printed.
pick() {
    start_pick "$binary" --format hex
    pick_at "$@"
    finish_pick 0
    got=$(cat "$scratch/out")
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
        pick "$x" "$y"
        [ "$got" = "$(coordinate_hex "$x" "$y")" ] || fail "at scale $scale a click on $x,$y picked $got, not $(coordinate_hex "$x" "$y")"
    done
    pick 1001 333 Right Right Right Down Return
    [ "$got" = "$(coordinate_hex 1004 334)" ] || fail "at scale $scale three Right, a Down and Enter from 1001,333 picked $got"
    pick 1001 333 shift+Left Up space
    [ "$got" = "$(coordinate_hex 991 332)" ] || fail "at scale $scale Shift+Left, Up and Space from 1001,333 picked $got"
    # The arrows stay on the screen.
    pick 1918 1 Right Right Up Return
    [ "$got" = "$(coordinate_hex 1919 0)" ] || fail "at scale $scale the arrows left the screen: $got"
    echo "scale $scale: ${#points[@]} clicks and three key picks exact"
done
xrdb -remove
unset QT_SCALE_FACTOR

# --sample takes the mean of the square around the device pixel picked, over noise and a one-pixel black and
# white checkerboard, at a corner, an edge and the middle: ImageMagick's mean of the same crop, at scales 1 and 2.
convert -size 960x1080 xc: -seed 7 +noise Random -size 960x1080 pattern:gray50 +append -depth 8 \
    "PNG24:$scratch/area.png"
display -window root "$scratch/area.png" || true
for scale in 1 2; do
    export QT_SCALE_FACTOR=$scale
    for sample in "0 0 25" "1919 1079 5" "0 600 15" "480 540 9" "1440 540 5" "1441 7 3" "700 3 1"; do
        read -r x y side <<<"$sample"
        start_pick "$binary" --sample "$side"
        pick_at "$x" "$y"
        finish_pick 0
        expected=$(area_mean "$scratch/area.png" "$x" "$y" "$side")
        [ "$(cat "$scratch/out")" = "$expected" ] ||
            fail "at scale $scale the ${side}x$side mean at $x,$y was $(cat "$scratch/out"), not $expected"
    done
done
unset QT_SCALE_FACTOR
display -window root "$scratch/coordinates.png" || true

# The notations; html is the default.
start_pick "$binary"
pick_at 10 20
finish_pick 0
[ "$(cat "$scratch/out")" = '#0A1400' ] || fail "the default notation printed $(cat "$scratch/out")"
start_pick "$binary" --format rgb
pick_at 10 20
finish_pick 0
[ "$(cat "$scratch/out")" = 'RGB(10, 20, 0)' ] || fail "--format rgb printed $(cat "$scratch/out")"
# The printed text stays on the clipboard after the program has ended.
[ "$(xclip -o -selection clipboard)" = 'RGB(10, 20, 0)' ] || fail "the picked colour is not on the clipboard"

# Escape (on its release) and the right button cancel: status 1, nothing printed.
for cancel in "key Escape" "click 3"; do
    start_pick "$binary"
    eventually keys_under_pointer || fail "the capture window did not get the keyboard"
    # shellcheck disable=SC2086
    xdotool $cancel
    finish_pick 1
    [ ! -s "$scratch/out" ] || fail "a pick cancelled by $cancel printed $(cat "$scratch/out")"
done

# The wheel makes the magnifier smaller (9 and then 15 pixels across): once the pointer has moved on, the
# screen shows the picture alone where the larger one was.
shows_picture_alone() {
    import -window root -crop 300x200+490+490 +repage "$scratch/now.png"
    convert "$scratch/coordinates.png" -crop 300x200+490+490 +repage "$scratch/then.png"
    [ "$(compare -metric AE "$scratch/now.png" "$scratch/then.png" null: 2>&1)" = 0 ]
}
start_pick "$binary"
xdotool mousemove 500 500
eventually keys_under_pointer || fail "the capture window did not get the keyboard"
xdotool click 5 click 5 mousemove 1500 900
eventually shows_picture_alone || fail "a smaller magnifier left a trace of the larger one"
xdotool key Escape
finish_pick 1

# The Enter that started the pick in a terminal is released in the capture window: it picks nothing. Held
# long enough, its repeats come there too.
xdotool mousemove 500 500
xdotool keydown Return
start_pick "$binary" --format hex
xdotool keyup Return
pick_at 700 300
finish_pick 0
[ "$(cat "$scratch/out")" = "$(coordinate_hex 700 300)" ] || fail "the Enter that started the pick picked $(cat "$scratch/out")"

# Nothing of all this was stored; a pick with --remember adds its colour to the recent ones, and writing a
# palette from the store writes nothing to it.
[ ! -e "$TINTWELL_REGISTRY_DIR" ] || [ -z "$(ls -A "$TINTWELL_REGISTRY_DIR")" ] || fail "a pick wrote to the store"
start_pick "$binary" --remember
pick_at 700 300
finish_pick 0
# (A reader of the hive leaves SQLite's index beside it, and an empty log: the hive itself stays as it was.)
hive=$(md5sum "$TINTWELL_REGISTRY_DIR"/*.db)
env -u DISPLAY -u WAYLAND_DISPLAY "$binary" --export-palette "$scratch/picked.css"
grep -qix -- "  --recent-1: $(cat "$scratch/out");" "$scratch/picked.css" || fail "--remember: $(cat "$scratch/picked.css")"
[ "$(md5sum "$TINTWELL_REGISTRY_DIR"/*.db)" = "$hive" ] && [ ! -s "$TINTWELL_REGISTRY_DIR"/*.db-wal ] ||
    fail "--export-palette wrote to the store"

# The command line's other answers; --help and --version need no display.
without_display() { env -u DISPLAY -u WAYLAND_DISPLAY "$@"; }
without_display "$binary" --version >"$scratch/out"
grep -qx 'Corvane Tintwell [0-9]*\.[0-9]*\.[0-9]* Build [0-9]*' "$scratch/out" || fail "--version: $(cat "$scratch/out")"
without_display "$binary" --help >"$scratch/out"
grep -q -- '--pick' "$scratch/out" || fail "--help does not tell of --pick"
# refused STATUS COMMAND...: the command ends with STATUS, prints nothing and says why in one line.
refused() {
    local status=0
    "${@:2}" >"$scratch/out" 2>"$scratch/err" || status=$?
    [ "$status" = "$1" ] || fail "'${*:2}' ended with $status, not $1 ($(cat "$scratch/err"))"
    [ "$(wc -l <"$scratch/err")" = 1 ] && grep -q '^tintwell: ' "$scratch/err" ||
        fail "'${*:2}' said: $(cat "$scratch/err")"
    [ ! -s "$scratch/out" ] || fail "'${*:2}' printed $(cat "$scratch/out")"
}
for wrong in --frobnicate "--pick --format cmyk" "--format hex" "--pick --space cmyk" "--space srgb" "--verbose" extra \
    --remember "--export-palette colours.txt" "--export-palette colours.gpl --pick" "--export-palette /no/such/a.gpl" \
    --suggest "--contrast red" "--contrast nope white" "--contrast red #fff8" "--contrast red white --pick" \
    "--sample 5" "--pick --sample 4" "--pick --sample x" "--pick --sample 0x5"; do
    # shellcheck disable=SC2086
    refused 2 "$binary" $wrong
done
refused 2 "$binary" --bogus=1
grep -qF "'--bogus'" "$scratch/err" || fail "an unknown option is not named as typed: $(cat "$scratch/err")"
refused 2 sh -c '"$0" --help >/dev/full' "$binary"
refused 2 sh -c '"$0" --convert - </' "$binary"
refused 2 sh -c '"$0" --convert - <&-' "$binary"
# A line far longer than any colour is refused without being kept, control bytes are shown escaped, and the
# lines after them still convert.
status=0
{ head -c 50000000 /dev/zero | tr '\0' a; printf '\nred\0garbage\n\033]0;x\a\nred\n'; } |
    "$binary" --convert - >"$scratch/out" 2>"$scratch/err" || status=$?
[ "$status" = 1 ] && [ "$(tr '\n' , <"$scratch/out")" = ",,,#FF0000," ] ||
    fail "--convert of a long line and control bytes: $status, $(cat "$scratch/out")"
for said in "line 1: 'aaa" "longer than 16 KiB" "line 2: 'red\\x00garbage' is" "line 3: '\\x1B]0;x\\x07' is"; do
    grep -qF "$said" "$scratch/err" || fail "--convert did not say $said: $(cat -v "$scratch/err")"
done
# --contrast tells how it took a colour (an alpha drawn over the background; a colour outside sRGB mapped as CSS
# maps it, #00FB29 by colorjs.io) and --suggest's answer; what it refuses is quoted as --convert quotes it.
while IFS='|' read -r arguments said; do
    IFS=';' read -r -a arguments <<<"$arguments"
    "$binary" --contrast "${arguments[@]}" >"$scratch/out" || fail "--contrast ${arguments[*]} ended with $?"
    grep -qxF "$said" "$scratch/out" || fail "--contrast ${arguments[*]} did not say $said: $(cat "$scratch/out")"
done <<'ROWS'
rgb(0 0 0 / 50%);white|The foreground's alpha 0.5 drawn over the background: #808080
color(display-p3 0 1 0);white|The foreground lies outside sRGB, mapped into it as CSS maps it: #00FB29
white;color(display-p3 0 1 0)|The background lies outside sRGB, mapped into it as CSS maps it: #00FB29
#777777;white;--suggest|Nearest passing: #767676 (4.54:1)
ROWS
refused 2 "$binary" --contrast "$(printf '\033]0;x\a')" white
grep -qF "'\x1B]0;x\x07' is not a color" "$scratch/err" || fail "--contrast showed control bytes: $(cat -v "$scratch/err")"
refused 2 "$binary" --contrast "$(head -c 131000 /dev/zero | tr '\0' a)" white
[ "$(wc -c <"$scratch/err")" -lt 120 ] || fail "--contrast echoed a long argument whole"

# No display, or one that is not there: one line, not Qt's abort.
refused 2 without_display "$binary" --pick
refused 2 without_display "$binary"
refused 2 env -u WAYLAND_DISPLAY DISPLAY=:199 "$binary" --pick
echo ok
