#!/usr/bin/env bash
# The saves of the program's exit (the window-state store, the colour store with the custom colours), through
# the real program:
#  - killed with SIGKILL during the exit, round after round: after every round each holds either all it held
#    before or all of its save, never a mix of both;
#  - two editors over one store: each exit writes only what its own run changed;
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

# What each round changes, in the values as they were before: the window's place (moved) and the colour
# (typed); an exit writes only what changed.
storage=("\"NormPos$screen\"=\"x\"" '"NormPos"="x"')
colours=('"pCurrentColor_Color"="x"')
{
    printf 'Windows Registry Editor Version 5.00\n\n[-%s]\n\n[%s\\Storage]\n' "$app" "$app"
    printf '%s\n' "${storage[@]}" "${colours[@]}" '"sbMain_Visible"="TRUE"'
    printf '\n[%s\\Options]\n"SaveWindow"=dword:00000001\n' "$app"
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
    xdotool windowmove "$(editor_by_width)" $((100 + round * 10)) 200
    xdotool key alt+t ctrl+a
    xdotool type '#0A0B0C'
    xdotool key Tab alt+f
    eventually eval '[ "$(program_windows)" = 2 ]' || fail "the File menu did not open"
    xdotool key x &
    set +x # as tight a loop as can be
    until [ -s "$hive-wal" ] || ! kill -0 "$pid" 2>/dev/null; do :; done
    set -x
    [ "$round" = 0 ] || sleep "0.00$((round % 10))"
    { kill -9 "$pid" && wait "$pid"; } 2>/dev/null || true
    pid=
    "$reg" export "$app" "$scratch/now.reg" /y >/dev/null
    states="$(state "${storage[@]}") $(state "${colours[@]}")"
    echo "round $round: window state, colours: $states"
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
    "$reg" export "$app" "$scratch/at-start.reg" /y >/dev/null # with the last round's recent colour
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
        # Only the colour changed (0C0B0A is 789258), and the typed colour is the first recent one.
        sed 's/^"pCurrentColor_Color"=.*/"pCurrentColor_Color"="789258"/' "$scratch/stored.reg" |
            history="[$app\\History]" awk '/\\Options]$/ {print ENVIRON["history"]; print "\"Color1\"=dword:000c0b0a\n"} 1' \
                >"$scratch/expected.reg"
    else
        cp "$scratch/at-start.reg" "$scratch/expected.reg"
    fi
    diff "$scratch/expected.reg" "$scratch/now.reg" || fail "the exit ($lock_at_exit) wrote over what it could not read"
done

# Two editors over one store: A types a colour, B hides its status bar; A ends, then B. The store holds both
# changes, none undone by the other's exit.
# on PID KEYS...: those keys to that editor, once its window has the keyboard.
on() {
    local id
    pid=$1
    shift
    id=$(editor_by_width)
    xdotool windowactivate --sync "$id" >/dev/null
    eventually has_focus "$id" || fail "the editor $pid did not get the keyboard"
    xdotool key "$@"
}
# end_editor PID: File, Exit in that editor, and its end.
end_editor() {
    on "$1" alt+f
    eventually eval '[ "$(program_windows)" = 2 ]' || fail "the File menu of $1 did not open"
    xdotool key x
    within 60 ended "$1" || fail "the editor $1 did not end at File, Exit"
    wait "$1" || fail "the editor $1 ended with status $?"
}
"$reg" import "$scratch/stored.reg" >/dev/null
start
first=$pid
start
second=$pid
others="$first"
on "$first" alt+t ctrl+a
xdotool type '#0A0B0C'
xdotool key Tab
on "$second" alt+v
eventually eval '[ "$(program_windows)" = 2 ]' || fail "the View menu did not open"
xdotool key s
end_editor "$first"
others=
end_editor "$second"
pid=
"$reg" export "$app" "$scratch/now.reg" /y >/dev/null
grep -qxF '"pCurrentColor_Color"="789258"' "$scratch/now.reg" || fail "the second exit undid the first's colour"
grep -qixF '"sbMain_Visible"="False"' "$scratch/now.reg" || fail "the second exit did not save its own change"

# Another program holds the write lock through an exit that has a change to save.
start
activate_editor
xdotool key alt+t ctrl+a
xdotool type '#0A0B0D'
xdotool key Tab
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
