#!/usr/bin/env bash
# The .deb that cpack makes from the build: lintian finds no error or warning in it, dpkg installs it on this
# machine, the installed program shows its window and finds its help, and dpkg -r takes every file of the package
# away again (dpkg -P then drops its record). Needs root (exit 77, skipped, otherwise) and leaves the package removed on every way out.
# Usage: deb.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
[ "$(id -u)" -eq 0 ] || { echo "SKIP: installing a package needs root"; exit 77; }
. "$here/session.sh"
. "$here/installed.sh"
e2e_begin deb
dpkg-query -W -f='${Status}' tintwell 2>/dev/null | grep -q installed &&
    fail "a tintwell package is installed already; the test leaves it alone"

installed=0
e2e_cleanup() { [ "$installed" -eq 0 ] || dpkg -P tintwell >/dev/null 2>&1 || true; }
(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" >cpack.log 2>&1) ||
    { cat "$scratch/cpack.log"; fail "cpack"; }
deb=$(ls "$scratch"/tintwell_*.deb)
# Debian's own checker finds no error or warning in it.
lintian --fail-on error,warning "$deb" ||
    fail "lintian found faults in the package"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print substr($6, 2)}' >"$scratch/files"
grep -qx /usr/libexec/tintwell/tintwell.qch "$scratch/files" || fail "the package has no help file"
# The libraries linked directly, not through Qt, are declared too.
for library in liblcms2-2 libxcb-randr0 libsqlite3-0; do
    dpkg-deb -f "$deb" Depends | grep -q "\b$library\b" || fail "the package does not depend on $library"
done

installed=1
dpkg -i "$deb" >/dev/null || fail "dpkg -i"
check_installed_program /usr/bin/tintwell deb-installed

dpkg -r tintwell >/dev/null || fail "dpkg -r"
installed=0
while read -r file; do
    [ ! -e "$file" ] && [ ! -L "$file" ] || fail "$file is left after dpkg -r"
done <"$scratch/files"
[ ! -e /usr/libexec/tintwell ] || fail "/usr/libexec/tintwell is left after dpkg -r"
dpkg -P tintwell >/dev/null || fail "dpkg -P"
echo "ok"
