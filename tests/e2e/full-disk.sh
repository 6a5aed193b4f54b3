#!/usr/bin/env bash
# A full disk as a user meets it, on a small disk of its own in a private mount namespace (needs root: skipped
# otherwise). With the disk full: the palette exports of the command line fail with one line and status 2, the
# files they would replace stay whole and no new file is left behind empty; the editor warns once that its
# settings were not saved, and the store keeps what it held. With room again, the next run saves.
# Usage: full-disk.sh path/to/tintwell
set -euo pipefail
program=$1
[ "$(id -u)" = 0 ] || { echo "SKIP: needs root, to mount a small disk"; exit 77; }
[ -n "${TINTWELL_PRIVATE_MOUNTS:-}" ] || exec env TINTWELL_PRIVATE_MOUNTS=1 unshare -m --propagation private "$0" "$@"
. "$(dirname "$0")/session.sh"
e2e_begin full-disk
disk=$scratch/disk
mkdir "$disk"
mount -t tmpfs -o size=1m tmpfs "$disk"
e2e_cleanup() { umount -l "$disk" 2>/dev/null || true; }
export TINTWELL_REGISTRY_DIR=$disk/registry

type_colour() {
    activate_editor
    xdotool key alt+t ctrl+a
    xdotool type "$1"
    xdotool key Tab
    eventually pixel_is 150 110 "$1" || fail "the typed $1 did not take"
}
# The recent colours the store holds, newest first, as the command line exports them.
recent() {
    "$program" --export-palette "$scratch/recent.gpl" || fail "--export-palette of the store failed"
    awk '/^# Recent colors/ {on = 1; next} /^#/ {on = 0} on {printf "%02X%02X%02X\n", $1, $2, $3}' "$scratch/recent.gpl" |
        paste -sd ' '
}
# The editor's warning, once it is up (titled with the program's name, as the editor, but no editor): Enter
# closes it.
warning() {
    local editor ids
    editor=$(editor_window) && [ -n "$editor" ] && ids=$(named_windows '^Corvane Tintwell$') || return 1
    grep -vx "$editor" <<<"$ids" | sed -n 1p
}
take_warning() {
    local id
    found() { id=$(warning) && [ -n "$id" ]; }
    eventually found || fail "no warning: $1"
    xdotool windowactivate --sync "$id"
    eventually has_focus "$id" || fail "the warning did not get the keyboard"
    xdotool key Return
    gone() { ! found || [ "$id" != "$1" ]; }
    eventually gone "$id" || fail "the warning stayed"
}

# Before the disk fills: a colour in the store, and palettes exported.
e2e_start "$program"
type_colour '#3366CC'
quit_editor
[ "$(recent)" = 3366CC ] || fail "the store holds $(recent)"
for name in old.gpl old.json; do "$program" --export-palette "$disk/$name"; done
sha256sum "$disk"/old.* >"$scratch/before"

# Full to the last byte.
head -c 2M /dev/zero >"$disk/filler" 2>/dev/null || true
for name in old.gpl old.json new.css; do
    status=0
    "$program" --export-palette "$disk/$name" >"$scratch/out" 2>"$scratch/err" || status=$?
    [ "$status" = 2 ] && [ "$(wc -l <"$scratch/err")" = 1 ] && grep -q "No space left on device" "$scratch/err" ||
        fail "--export-palette $name on the full disk: status $status, $(cat "$scratch/err")"
done
sha256sum -c --quiet "$scratch/before" || fail "an export on the full disk changed the old files"
[ ! -e "$disk/new.css" ] && [ -z "$(ls -A "$disk" | grep -v '^\(old\.gpl\|old\.json\|filler\|registry\)$')" ] ||
    fail "the full disk holds $(ls -A "$disk")"

# The editor: a colour typed is not saved, with one warning.
e2e_start "$program"
# The colour's save, a second after it was typed, is the one warning of the run; the exit warns no more.
type_colour '#C0FFEE'
take_warning "the colour's save on the full disk"
quit_editor
[ "$(recent)" = 3366CC ] || fail "after the full disk the store holds $(recent)"

# With room again the next run saves.
rm "$disk/filler"
e2e_start "$program"
type_colour '#ABCDEF'
quit_editor
[ "$(recent)" = 'ABCDEF 3366CC' ] || fail "with room again the store holds $(recent)"
echo ok
