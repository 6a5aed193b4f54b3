#!/usr/bin/env bash
# The settings store meeting the accidents of a Linux desktop, through the real program and tintwell-reg:
#  - a damaged hive (garbage, a real hive cut short, an empty file) is kept aside intact under a new name,
#    the program starts on its defaults with one warning, and the next run has the colour set in this one;
#  - a damaged file of another user, a folder or a link to nothing in the hive's place is kept aside too;
#  - a store made read-only by its permissions, the program run as the unprivileged user nobody: the stored
#    thumbnail width is honoured by F9, one warning, the files unchanged; the same again with the commit of
#    a writer killed before its checkpoint still in the log, with and without the log's index; tintwell-reg
#    reads it and refuses to change it;
#  - the same store writable again, with the log and its index left read-only: the next save gets through;
#  - a relative TINTWELL_REGISTRY_DIR is refused with one warning and nothing written; without HOME the
#    store goes to the home folder of the password database.
# Needs root, to run the program as another user; skipped otherwise.
# Usage: store.sh path/to/tintwell path/to/tintwell-reg path/to/registry_writer
set -euo pipefail
[ "$(id -u)" = 0 ] || { echo "needs root, to run the program as another user"; exit 77; }
. "$(dirname "$0")/session.sh"
e2e_begin store

# Copies the user nobody can reach: the build may sit in root's home folder.
chmod 755 "$scratch"
mkdir -p "$scratch/bin" "$scratch/nobody/runtime"
cp "$1" "$2" "$3" "$scratch/bin/"
program=$scratch/bin/tintwell reg=$scratch/bin/tintwell-reg writer=$scratch/bin/registry_writer
chown -R nobody:nogroup "$scratch/nobody"
chmod 700 "$scratch/nobody/runtime"
xhost +SI:localuser:nobody >/dev/null
e2e_cleanup() { xhost -SI:localuser:nobody >/dev/null 2>&1 || true; }
as_nobody=(env HOME="$scratch/nobody" XDG_RUNTIME_DIR="$scratch/nobody/runtime" XDG_CONFIG_HOME="$scratch/nobody/config"
    setpriv --reuid=nobody --regid=nogroup --clear-groups)

store=$TINTWELL_REGISTRY_DIR
hive=$store/HKEY_LOCAL_MACHINE.db
app='HKLM\Software\Corvane\Corvane Devbench\Tintwell'

both_on_screen() { [ -n "$(editor_by_width)" ] && [ -n "$(warning_window)" ]; }

# start [COMMAND...]: starts the program (through COMMAND) and waits for its editor window.
start() {
    "$@" "$program" &
    pid=$!
    eventually eval '[ -n "$(editor_by_width)" ]' || fail "no editor window"
}
# The warning, once the editor stands behind it: its details go to the clipboard, then OK closes it; no other
# follows it unless --more says one may.
take_warning() {
    local id
    eventually both_on_screen || fail "no warning over the editor window"
    id=$(warning_window)
    offer ""
    xdotool windowactivate --sync "$id" key alt+d
    eventually eval '[ "$(xwininfo -id '"$id"' | awk "/Height:/ {print \$2}")" -gt 100 ]' || fail "no details"
    xdotool mousemove --window "$id" 100 120 click 1 key ctrl+a ctrl+c alt+o
    if [ "${1:-}" = --more ]; then
        eventually eval '[ "$(warning_window)" != "$id" ]' || fail "the warning stayed"
    else
        eventually eval '[ -z "$(warning_window)" ]' || fail "the warning stayed"
    fi
    details=$(xclip -o -selection clipboard 2>/dev/null || true)
}
# The editor takes keys (no second warning holds it): the HTML field gets the colour.
set_colour() {
    xdotool windowactivate --sync "$(editor_by_width)"
    xdotool key alt+t ctrl+a
    xdotool type --delay 20 "$1"
    xdotool key Tab
    eventually pixel_is 150 110 "$1" || fail "typing $1 gave $(client_pixel 150 110)"
}
exit_program() {
    menu f x
    eventually eval '! kill -0 $pid 2>/dev/null' || fail "the program did not end at File, Exit"
    wait "$pid" || fail "the program ended with status $?"
    pid=
}
fresh_store() { rm -rf "$store" && mkdir -p "$store"; }
# refused COMMAND...: a change the read-only store turns down, saying why.
refused() {
    "$@" >"$scratch/out" 2>&1 && fail "$* changed a read-only store"
    grep -q "cannot be written" "$scratch/out" || fail "$*: $(cat "$scratch/out")"
}
snapshot() { (cd "$store" && ls -la --time-style=+ . && sha256sum ./*); }

# A real hive of several pages, cut in half.
fresh_store
for i in $(seq 60); do "$reg" add "$app\\Filler" /v "v$i" /d "$(printf '%0200d' "$i")" /f >/dev/null; done
head -c "$(($(stat -c %s "$hive") / 2))" "$hive" >"$scratch/truncated"
for damage in garbage truncated empty; do
    fresh_store
    case $damage in
        garbage) head -c 20000 /dev/urandom >"$hive" ;;
        truncated) cp "$scratch/truncated" "$hive" ;;
        empty) : >"$hive" ;;
    esac
    cp "$hive" "$scratch/damaged"
    "$reg" query "$app" >"$scratch/out" 2>&1 && fail "tintwell-reg read the $damage hive"
    grep -qF "$hive" "$scratch/out" || fail "tintwell-reg did not name the $damage hive: $(cat "$scratch/out")"
    cmp -s "$hive" "$scratch/damaged" || fail "tintwell-reg changed the $damage hive"

    start
    take_warning
    kept=$(ls "$store"/HKEY_LOCAL_MACHINE.db.damaged-*[0-9])
    grep -qF "$kept" <<<"$details" || fail "the warning does not name $kept: $details"
    cmp "$kept" "$scratch/damaged" || fail "the $damage hive was not kept intact"
    pixel_is 150 110 '#FFFFFF' || fail "the $damage hive did not give the default colour"
    set_colour '#3366CC'
    exit_program
    start
    eventually pixel_is 150 110 '#3366CC' || fail "after the $damage hive the colour came back as $(client_pixel 150 110)"
    [ -z "$(warning_window)" ] || fail "a second run after the $damage hive warned again"
    exit_program
done

# A damaged hive whose log index cannot be moved with it (immutable) leaves all three where they were: a
# log left behind would be taken for the next hive's.
fresh_store
head -c 20000 /dev/urandom >"$hive"
echo log >"$hive-wal" && echo index >"$hive-shm"
if chattr +i "$hive-shm" 2>/dev/null; then
    start
    take_warning --more # and then that the store can only be read
    chattr -i "$hive-shm"
    grep -q "cannot be moved aside" <<<"$details" || fail "the warning does not say the hive stays: $details"
    [ "$(cat "$hive-wal")" = log ] && [ -z "$(ls "$store" | grep damaged)" ] || fail "the hive's log went without it"
    kill "$pid" && wait "$pid" 2>/dev/null || true
    pid=
fi

# A hive the user may not read: tintwell-reg says why.
chmod 600 "$hive"
"${as_nobody[@]}" "$reg" query "$app" >"$scratch/out" 2>&1 && fail "nobody read root's hive"
grep -q "Permission denied" "$scratch/out" || fail "tintwell-reg over an unreadable hive said: $(cat "$scratch/out")"

# In the hive's place, in the user's own folder: a damaged file of another user (to which no hard link may be
# made), a folder, a link to nothing. Each is kept aside as it is, with one warning that says what it was, and
# the program saves into a fresh hive.
for thing in foreign folder dangling; do
    fresh_store
    chown nobody:nogroup "$store"
    case $thing in
        foreign) head -c 20000 /dev/urandom >"$hive" ;;
        folder) mkdir "$hive" && echo kept >"$hive/inside" ;;
        dangling) ln -s "$store/nowhere" "$hive" ;;
    esac
    start "${as_nobody[@]}"
    take_warning
    kept=$(ls -d "$store"/HKEY_LOCAL_MACHINE.db.damaged-*[0-9])
    case $thing in
        foreign) [ -f "$kept" ] && [ "$(stat -c %U "$kept")" = root ] ;;
        folder) [ -f "$kept/inside" ] && grep -q "a folder" <<<"$details" ;;
        dangling) [ -L "$kept" ] && grep -q "a link to nothing" <<<"$details" ;;
    esac || fail "the $thing was not kept aside as it was, or the warning does not say what it was: $details"
    set_colour '#3366CC'
    exit_program
    start "${as_nobody[@]}"
    eventually pixel_is 150 110 '#3366CC' || fail "after the $thing the colour came back as $(client_pixel 150 110)"
    [ -z "$(warning_window)" ] || fail "a second run after the $thing warned again"
    exit_program
done

# Read-only by its permissions: the folder 0555, the files 0444, nobody to run the program.
read_only_run() {
    chmod 444 "$store"/* && chmod 555 "$store"
    snapshot >"$scratch/before"
    start "${as_nobody[@]}"
    take_warning
    grep -qF "$store" <<<"$details" || fail "the read-only warning does not name the folder: $details"
    pixel_is 150 110 '#3366CC' || fail "the read-only store gave the colour $(client_pixel 150 110)"
    set_colour '#C0FFEE'
    xdotool key F9
    eventually eval '[ "$(xclip -o -selection clipboard -t image/png 2>/dev/null | identify -format %w - 2>/dev/null)" = 77 ]' ||
        fail "F9 did not honour the stored thumbnail width 77"
    exit_program
    snapshot | diff "$scratch/before" - || fail "a run over the read-only store changed it"
    "${as_nobody[@]}" "$reg" query "$app\\Options" /v ThumbnailWidth | grep -q 0x4d || fail "tintwell-reg query failed"
    "${as_nobody[@]}" "$reg" export "$app" "$scratch/nobody/export.reg" /y >/dev/null || fail "tintwell-reg export failed"
    refused "${as_nobody[@]}" "$reg" add "$app" /v X /f
    refused "${as_nobody[@]}" "$reg" delete "$app\\Options" /v ThumbnailWidth /f
    refused "${as_nobody[@]}" "$reg" import "$scratch/nobody/export.reg"
    snapshot | diff "$scratch/before" - || fail "tintwell-reg changed the read-only store"
    chmod 755 "$store"
}
fresh_store
"$reg" add "$app\\Options" /v ThumbnailWidth /t REG_DWORD /d 77 /f >/dev/null
"$reg" add "$app\\Storage" /v pCurrentColor_Color /d 13395507 /f >/dev/null
read_only_run
# A writer killed before its checkpoint: the width is only in the log.
chmod 644 "$store"/*
"$reg" add "$app\\Options" /v ThumbnailWidth /t REG_DWORD /d 55 /f >/dev/null
"$writer" hold 'Software\Corvane\Corvane Devbench\Tintwell\Options' ThumbnailWidth 77 >"$scratch/writer" &
writer_pid=$!
eventually grep -q holding "$scratch/writer" || fail "the writer did not write"
{ kill -9 "$writer_pid" && wait "$writer_pid"; } 2>/dev/null || true
[ -s "$hive-wal" ] || fail "the killed writer left no log"
read_only_run
# The same without the log's index, which a read-only folder does not let anyone make.
cp -a "$store" "$scratch/with-index"
rm "$hive-shm"
read_only_run
rm -rf "$store" && mv "$scratch/with-index" "$store"

# Writable again, with the log and its index read-only, as a reader of the read-only hive could leave them.
chown -R nobody:nogroup "$store" && chmod 644 "$hive" && chmod 444 "$hive-wal" "$hive-shm"
start "${as_nobody[@]}"
set_colour '#A0522D'
exit_program
"$reg" query "$app\\Storage" /v pCurrentColor_Color | grep -q 2970272 || fail "the store writable again was not written"

# A relative TINTWELL_REGISTRY_DIR would make a store for each working folder: it is refused.
mkdir "$scratch/cwd"
cd "$scratch/cwd"
TINTWELL_REGISTRY_DIR=relative start
take_warning
grep -q "absolute path" <<<"$details" || fail "the warning does not say the folder is relative: $details"
exit_program
TINTWELL_REGISTRY_DIR=relative "$reg" add 'HKCU\Software\X' /f >"$scratch/out" 2>&1 && fail "tintwell-reg wrote a relative store"
[ -z "$(ls -A)" ] || fail "a relative TINTWELL_REGISTRY_DIR made $(ls -A)"
# Without HOME: the user's home from the password database (nobody's is /nonexistent, which cannot be made).
"${as_nobody[@]}" env -u HOME -u XDG_CONFIG_HOME -u TINTWELL_REGISTRY_DIR "$reg" add 'HKCU\Software\X' /f >"$scratch/out" 2>&1 || true
grep -qF "/nonexistent/.config/corvane/registry/HKEY_CURRENT_USER.db" "$scratch/out" ||
    fail "without HOME the store is not in the home folder: $(cat "$scratch/out")"
echo "ok"
