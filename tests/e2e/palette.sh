#!/usr/bin/env bash
# Recent colours and palette files through the real program, over one store:
#  - a pick, a paste and a typed colour, a restart, another typed colour: Recent Colors lists them newest
#    first, and choosing one makes it the current colour;
#  - File, Export Palette writes the slots, custom colours and recent colours; GIMP reads the .gpl, and
#    palette-oracle.cjs reads the .ase (also with ase-utils), the .css and the .json (with colorjs.io);
#  - slots and custom colours cleared, File, Import Palette, a restart: they are as before;
#  - two editors taking colours in turn lose none of each other's.
# Usage: palette.sh path/to/tintwell path/to/tintwell-reg
set -euo pipefail
program=$1 reg=$2
. "$(dirname "$0")/session.sh"
e2e_begin palette
app='HKEY_LOCAL_MACHINE\Software\Corvane\Corvane Devbench\Tintwell'
modules=/usr/local/share/tintwell-tests/node/node_modules

start() { e2e_start "$program"; }
exit_editor() { quit_editor; }
swatch_is() { pixel_is 150 110 "$1"; }
type_colour() {
    activate_editor
    xdotool key alt+t ctrl+a
    xdotool type "$1"
    xdotool key Tab
    eventually swatch_is "$1" || fail "the typed $1 did not take"
}
# recent FILE: the recent colours of a .gpl the program wrote, "RRGGBB" newest first.
recent() { awk '/^# Recent colors/ {on = 1; next} /^#/ {on = 0} on {printf "%02X%02X%02X\n", $1, $2, $3}' "$1" | paste -sd ' '; }
# In a file dialog, the name, then Enter; the dialog is gone when its title is.
file_dialog() {
    local dialog
    dialog=$(wait_window "^$1\$") || fail "no $1 dialog"
    # What is typed before the dialog has the keyboard is lost (the sanitized build maps it well before).
    eventually has_focus "$dialog" || fail "the $1 dialog did not get the keyboard"
    xdotool type "$2"
    xdotool key Return
    # A completion list still open (it lags behind the typing in the sanitized build) takes the first Enter
    # for itself; the second reaches the dialog.
    eventually window_gone "^$1\$" || { xdotool key Return && eventually window_gone "^$1\$"; } ||
        fail "the $1 dialog stayed"
}

# Taken in: a pick from the screen, a paste in any notation and a typed one; then, after a restart, another.
xsetroot -solid '#123456'
start
xdotool key F12
wait_window '^CaptureFrm' >/dev/null || fail "no capture window"
xdotool mousemove 1500 900 click 1
eventually swatch_is '#123456' || fail "the pick from the screen did not take"
offer 'rgb(10 20 30)'
activate_editor
xdotool key ctrl+shift+v
eventually swatch_is '#0A141E' || fail "Paste Any Color did not take"
type_colour '#ABCDEF'
exit_editor
start
type_colour '#FEDCBA'
# Recent Colors, its third entry.
menu e l
xdotool key Down Down Return
eventually swatch_is '#0A141E' || fail "Recent Colors' third entry is not the pasted colour"
exit_editor
"$program" --export-palette "$scratch/recent.gpl"
[ "$(recent "$scratch/recent.gpl")" = 'FEDCBA ABCDEF 0A141E 123456' ] ||
    fail "recent colours, newest first: $(recent "$scratch/recent.gpl")"

# Slots and custom colours the store holds; slot i is (i, 2i, 255 - i), custom colour j (200, j, 3j).
expected=$scratch/expected
: >"$expected"
for i in $(seq 12); do
    "$reg" add "$app\Storage" /v "pSlot${i}_Color" /d $(((255 - i) << 16 | 2 * i << 8 | i)) /f >/dev/null
    printf 'Slots|Slot %d|#%02X%02X%02X\n' "$i" "$i" $((2 * i)) $((255 - i)) >>"$expected"
done
for j in $(seq 16); do
    letter=$(printf "\\x$(printf %x $((64 + j)))")
    "$reg" add "$app\Storage\CustomColors" /v "$(printf 'Color%s=%02X%02X%02X' "$letter" $((3 * j)) "$j" 200)" /f >/dev/null
    printf 'Custom colors|Custom %d|#C8%02X%02X\n' "$j" "$j" $((3 * j)) >>"$expected"
done
n=0
for colour in FEDCBA ABCDEF 0A141E 123456; do
    n=$((n + 1))
    printf 'Recent colors|Recent %d|#%s\n' "$n" "$colour" >>"$expected"
done

# Exported from the editor's File menu and from the command line.
mkdir "$scratch/out"
start
menu f e
file_dialog 'Export Palette' "$scratch/out/colours.ase"
exit_editor
for format in gpl css json; do "$program" --export-palette "$scratch/out/colours.$format"; done
if [ -f "$modules/ase-utils/package.json" ] && [ -f "$modules/colorjs.io/package.json" ]; then
    node "$(dirname "$0")/palette-oracle.cjs" "$modules" "$expected" "$scratch/out/colours".{ase,css,json} ||
        fail "the palette files differ from what the store holds"
else
    echo "SKIP: ase-utils or colorjs.io is not installed (npm's registry could not be reached)"
fi
if command -v gimp-console-2.10 >/dev/null; then
    g=$scratch/gimp
    mkdir -p "$g"/{palettes,gradients,brushes,patterns,fonts,tool-presets,dynamics,mypaint-brushes}
    cp "$scratch/out/colours.gpl" "$g/palettes/"
    HOME=$g GIMP2_DIRECTORY=$g gimp-console-2.10 -i -d -f -n --no-shm -b '(begin (gimp-message-set-handler 1)
        (gimp-palettes-refresh)
        (do ((i 0 (+ i 1))) ((= i (car (gimp-palette-get-info "colours"))))
          (let ((c (car (gimp-palette-entry-get-color "colours" i))))
            (gimp-message (string-append "entry " (number->string (car c)) " " (number->string (cadr c)) " "
                                         (number->string (caddr c)) " " (car (gimp-palette-entry-get-name "colours" i))))))
        (gimp-quit 0))' 2>&1 | sed -n 's/.*entry \([0-9]*\) \([0-9]*\) \([0-9]*\) \(.*\)/\4|\1 \2 \3/p' >"$scratch/gimp.txt"
    while IFS='|' read -r _ name hex; do
        printf '%s|%d %d %d\n' "$name" "0x${hex:1:2}" "0x${hex:3:2}" "0x${hex:5:2}"
    done <"$expected" | diff - "$scratch/gimp.txt" ||
        fail "GIMP read other colours from the .gpl"
else
    echo "SKIP: GIMP is not installed: the .gpl is not checked by it"
fi

# Cleared, imported, restarted: the slots and custom colours are as before.
"$reg" delete "$app\Storage\CustomColors" /f >/dev/null
for i in $(seq 12); do "$reg" delete "$app\Storage" /v "pSlot${i}_Color" /f >/dev/null; done
start
menu f i
file_dialog 'Import Palette' "$scratch/out/colours.ase"
wait_window '^Palette Preview$' >/dev/null || fail "no preview of the import"
xdotool key Return
eventually window_gone '^Palette Preview$' || fail "the preview stayed"
exit_editor
start
exit_editor
mkdir "$scratch/again"
"$program" --export-palette "$scratch/again/colours.gpl"
diff <(grep -v Recent "$scratch/out/colours.gpl") <(grep -v Recent "$scratch/again/colours.gpl") ||
    fail "the slots and custom colours after the import differ"

# Two editors over the store, taking colours in turn, each saving on its own.
e2e_start "$program"
first=$pid first_window=$(find_window)
"$program" &
pid=$!
others=$first
eventually eval '[ "$(named_windows "^Corvane Tintwell$" | wc -l)" = 2 ]' || fail "no second editor"
second_window=$(named_windows '^Corvane Tintwell$' | grep -vx "$first_window")
# type_into WINDOW COLOUR: typed into the window's HTML field, until its swatch shows it.
type_into() {
    xdotool windowactivate --sync "$1"
    eventually has_focus "$1" || return 1
    xdotool key alt+t ctrl+a
    xdotool type "$2"
    xdotool key Tab
    eventually window_pixel_is "$1" 150 110 "$2"
}
for i in 1 2 3; do
    for window in "$first_window" "$second_window"; do
        colour="#$([ "$window" = "$first_window" ] && echo A || echo B)0000$i"
        type_into "$window" "$colour" || type_into "$window" "$colour" || fail "$colour did not take in $window"
    done
done
quit_editor "$first" "$first_window"
quit_editor "$pid" "$second_window"
others=
"$program" --export-palette "$scratch/two.gpl"
# Each editor's colours keep their order; which editor saved first decides the rest.
taken=$(recent "$scratch/two.gpl" | cut -d' ' -f1-6)
[ "$(tr ' ' '\n' <<<"$taken" | sort | paste -sd ' ')" = 'A00001 A00002 A00003 B00001 B00002 B00003' ] &&
    [[ $(tr -d ' B0-9' <<<"$taken") = AAA && $taken =~ A00003.*A00002.*A00001 && $taken =~ B00003.*B00002.*B00001 ]] ||
    fail "two editors' recent colours: $(recent "$scratch/two.gpl")"
