#!/usr/bin/env bash
# `cmake --install` of the build into a temporary DESTDIR: the program folder, the link in bin/, the desktop
# entry with its pick action and the metainfo (checked by desktop-file-validate and appstreamcli), the icon
# at every size, the man pages; then the installed program runs and finds its help. Usage: install.sh BUILD_DIR
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/session.sh"
. "$here/installed.sh"
e2e_begin install
root=$scratch/root

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr

for file in libexec/tintwell/tintwell libexec/tintwell/tintwell.qch libexec/tintwell/libtintwell_helpviewer.so \
    bin/tintwell-reg share/applications/tintwell.desktop share/metainfo/com.corvane.Tintwell.metainfo.xml \
    share/icons/hicolor/scalable/apps/tintwell.svg share/man/man1/tintwell.1.gz share/man/man1/tintwell-reg.1.gz \
    share/doc/tintwell/copyright share/doc/tintwell/changelog.gz; do
    [ -f "$usr/$file" ] || fail "$file is not installed"
done
[ "$(readlink "$usr/bin/tintwell")" = ../libexec/tintwell/tintwell ] || fail "bin/tintwell is not a link to the program"
[ -x "$usr/bin/tintwell-reg" ] && [ -x "$usr/libexec/tintwell/tintwell" ] || fail "a program is not executable"

for size in 16 22 24 32 48 64 128 256 512; do
    icon=$usr/share/icons/hicolor/${size}x${size}/apps/tintwell.png
    [ -f "$icon" ] || fail "no ${size} pixel icon"
    [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "the ${size} pixel icon has the wrong size"
done

desktop-file-validate "$usr/share/applications/tintwell.desktop" || fail "desktop-file-validate"
# A launcher's menu offers the pick without the editor. The entry names the installed program by its full path,
# which KWin needs to grant it its screenshot service.
grep -qx 'Exec=/usr/bin/tintwell --pick' "$usr/share/applications/tintwell.desktop" || fail "no desktop action for --pick"
grep -qx 'X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2' "$usr/share/applications/tintwell.desktop" ||
    fail "the desktop entry does not ask KWin for its screenshot service"
appstreamcli validate --no-net "$usr/share/metainfo/com.corvane.Tintwell.metainfo.xml" || fail "appstreamcli validate"
for page in tintwell tintwell-reg; do
    warnings=$(zcat "$usr/share/man/man1/$page.1.gz" | groff -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || fail "the $page man page: $warnings"
done

"$usr/bin/tintwell-reg" '/?' | grep -q '^Usage:' || fail "the installed tintwell-reg does not run"
check_installed_program "$usr/bin/tintwell" install-help
echo "ok"
