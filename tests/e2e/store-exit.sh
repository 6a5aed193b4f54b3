#!/usr/bin/env bash
# The three saves of the program's exit (the window-state store, the colour store with the custom colours,
# the preferences), through the real program:
#  - killed with SIGKILL during the exit, round after round: after every round each of the three holds
#    either all it held before or all of its save, never a mix of both;
#  - another program holding the store's write lock: the exit waits once, a bounded time, warns once and
#    ends.
# Usage: store-exit.sh path/to/tintwell path/to/tintwell-reg path/to/registry_writer
set -euo pipefail
program=$1 reg=$2 writer=$3
. "$(dirname "$0")/session.sh"
e2e_begin store-exit
hive=$TINTWELL_REGISTRY_DIR/HKEY_LOCAL_MACHINE.db
app='HKEY_LOCAL_MACHINE\Software\Corvane\Corvane Devbench\Tintwell'
screen=$(xwininfo -root | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print "(" w "x" h ")"}')

program_window_ids() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true; }
width_of() { xwininfo -id "$1" 2>/dev/null | awk '/Width:/ {print $2}'; }
editor_shown() { for id in $(program_window_ids); do [ "$(width_of "$id")" = 300 ] && return 0; done; return 1; }
warning() {
    for id in $(program_window_ids); do
        case $(width_of "$id") in 300 | 500 | "") ;; *) echo "$id" ;; esac
    done | head -n 1
}
start() {
    "$program" &
    pid=$!
    eventually editor_shown || fail "no editor window"
}

# Every value a save writes that its previous content tells apart from what the save writes: text the
# restore reads but never writes back in that form, or a value not there before ("!" lines).
storage=(
    '"Flags"="x"' '"ShowCmd"="x"' '"PixelsPerInch"="x"' "\"MinMaxPos$screen\"=\"x\"" '"MinMaxPos"="x"'
    "\"NormPos$screen\"=\"x\"" '"NormPos"="x"' '"Visible"="x"' '"sbMain_Visible"="TRUE"' '"tbMain_Visible"="TRUE"'
    '"tbMain_DockPos"="+0"' '"tbMain_DockRow"="+1"' '"tbMenu_DockPos"="+0"' '"tbMenu_DockRow"="+0"'
    '"FormStyle"="x"' '!"tbMain_CurrentDock"=' '!"tbMenu_CurrentDock"='
)
colours=('"pCurrentColor_Color"="x"' '"Marker"="x"')
for slot in $(seq 12); do colours+=("\"pSlot${slot}_Color\"=\"x\""); done
options=('"SaveWindow"=dword:00000002' '"ThumbnailWidth"="64"' '"ThumbnailHeight"="64"' '"CaptureDelay"="600"')
{
    printf 'Windows Registry Editor Version 5.00\n\n[-%s]\n\n[%s\\Storage]\n' "$app" "$app"
    printf '%s\n' "${storage[@]}" "${colours[@]}" | grep -v -e '^!' -e Marker
    printf '\n[%s\\Storage\\CustomColors]\n"Marker"="x"\n\n[%s\\Options]\n' "$app" "$app"
    printf '%s\n' "${options[@]}"
} >"$scratch/before.reg"

# state VALUE...: "before" or "after" when every value is in that state in the store's export, else "mixed".
state() {
    local line before=0
    for line in "$@"; do
        case $line in
            '!'*) grep -qF "${line#!}" "$scratch/now.reg" || before=$((before + 1)) ;;
            *) if grep -qxF "$line" "$scratch/now.reg"; then before=$((before + 1)); fi ;;
        esac
    done
    if [ "$before" = "$#" ]; then echo before; elif [ "$before" = 0 ]; then echo after; else echo mixed; fi
}

# Killed at the first write of the exit, or some milliseconds after it. The File menu is opened first; its
# Exit is chosen while the test already watches the log (xdotool returns some time after the key).
for round in $(seq 0 11); do
    "$reg" import "$scratch/before.reg" >/dev/null
    start
    activate_editor
    xdotool key alt+f
    eventually eval '[ "$(program_windows)" = 2 ]' || fail "the File menu did not open"
    xdotool key x &
    until [ -s "$hive-wal" ] || ! kill -0 "$pid" 2>/dev/null; do :; done
    [ "$round" = 0 ] || sleep "0.00$((round % 10))"
    { kill -9 "$pid" && wait "$pid"; } 2>/dev/null || true
    pid=
    "$reg" export "$app" "$scratch/now.reg" /y >/dev/null
    states="$(state "${storage[@]}") $(state "${colours[@]}") $(state "${options[@]}")"
    echo "round $round: window state, colours, preferences: $states"
    case $states in *mixed*) fail "a save was cut in half: $(cat "$scratch/now.reg")" ;; esac
done

# Another program holds the write lock through the exit.
start
"$writer" lock >"$scratch/locker" &
others=$!
eventually grep -q locked "$scratch/locker" || fail "no lock taken"
menu f x
eventually eval '[ -n "$(warning)" ]' || fail "no warning within the wait for the lock"
xdotool windowactivate --sync "$(warning)" key alt+o
eventually eval '! kill -0 $pid 2>/dev/null' || fail "the exit went on waiting after the warning"
wait "$pid" || fail "the program ended with status $?"
pid=
echo "ok"
