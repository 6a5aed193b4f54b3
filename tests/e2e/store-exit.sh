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

editor_shown() { [ -n "$(editor_by_width)" ]; }
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

# Another program holds the store in a way that keeps readers out too, from before the start. The editor comes
# up on its defaults after one bounded wait, with one warning. With the lock gone by the exit, the exit saves
# the colour the user set and nothing of the defaults that stood in for the rest; with the lock still held, it
# ends without waiting again.
"$reg" import "$scratch/before.reg" >/dev/null
"$reg" add "$app\Storage" /v pSlot3_Color /d 255 /f >/dev/null
"$reg" export "$app" "$scratch/stored.reg" /y >/dev/null
for lock_at_exit in released held; do
    "$reg" import "$scratch/stored.reg" >/dev/null
    "$writer" exclusive >"$scratch/locker" &
    others=$!
    eventually grep -q locked "$scratch/locker" || fail "no exclusive lock taken"
    "$program" &
    pid=$!
    for _ in $(seq 300); do [ -n "$(warning_window)" ] && break; sleep 0.1; done
    [ -n "$(warning_window)" ] || fail "no warning about the held store within 30 s"
    editor_shown || fail "no editor window with the warning"
    xdotool windowactivate --sync "$(warning_window)" key alt+o
    eventually eval '[ -z "$(warning_window)" ]' || fail "the warning stayed"
    if [ $lock_at_exit = released ]; then
        kill "$others"
        wait "$others" 2>/dev/null || true
        others=
    fi
    activate_editor
    xdotool key alt+t ctrl+a
    xdotool type --delay 20 '#0A0B0C'
    xdotool key Tab
    eventually pixel_is 150 110 '#0A0B0C' || fail "the typed colour did not take"
    menu f x
    eventually eval '! kill -0 $pid 2>/dev/null' || fail "the exit waited for the lock ($lock_at_exit)"
    [ -z "$(warning_window)" ] || fail "a second warning at the exit"
    wait "$pid" || fail "the program ended with status $?"
    pid=
    if [ -n "$others" ]; then
        kill "$others"
        wait "$others" 2>/dev/null || true
        others=
    fi
    "$reg" export "$app" "$scratch/now.reg" /y >/dev/null
    if [ $lock_at_exit = released ]; then
        # Only the colour changed: 0C0B0A is 789258.
        sed 's/^"pCurrentColor_Color"=.*/"pCurrentColor_Color"="789258"/' "$scratch/stored.reg" >"$scratch/expected.reg"
    else
        cp "$scratch/stored.reg" "$scratch/expected.reg"
    fi
    diff "$scratch/expected.reg" "$scratch/now.reg" || fail "the exit ($lock_at_exit) wrote over what it could not read"
done

# Another program holds the write lock through the exit.
start
"$writer" lock >"$scratch/locker" &
others=$!
eventually grep -q locked "$scratch/locker" || fail "no lock taken"
menu f x
eventually eval '[ -n "$(warning_window)" ]' || fail "no warning within the wait for the lock"
xdotool windowactivate --sync "$(warning_window)" key alt+o
eventually eval '! kill -0 $pid 2>/dev/null' || fail "the exit went on waiting after the warning"
wait "$pid" || fail "the program ended with status $?"
pid=
echo "ok"
