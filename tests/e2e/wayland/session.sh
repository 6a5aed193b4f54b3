#!/usr/bin/env bash
# Runs a command on a private headless Wayland desktop: sway with a picture wallpaper, a D-Bus session bus with
# the desktop portal's screenshot (xdg-desktop-portal, its wlroots backend, grim, pipewire), and a pointer and a
# keyboard held in the seat. Everything it starts is stopped by PID when the command ends; its exit code is ours.
# Usage: session.sh [--without-screenshot] WIDTHxHEIGHT SCALE WALLPAPER.png -- COMMAND [ARG...]
#   --without-screenshot sets the portal up as plain Debian 12 sway does: without an Access backend, it offers
#   no Screenshot.
#   WIDTHxHEIGHT is the output's mode in device pixels. COMMAND gets WAYLAND_DISPLAY, SWAYSOCK, the XDG_*
#   folders, QT_QPA_PLATFORM=wayland and VPTR ("$VPTR click X Y W H" clicks at a point of the W x H layout,
#   "$VPTR move X Y W H" only moves there).
set -euo pipefail
access='org.freedesktop.impl.portal.Access;'
[ "${1:-}" = --without-screenshot ] && { access=; shift; }
[ $# -ge 5 ] && [ "$4" = -- ] || { echo "usage: $0 WIDTHxHEIGHT SCALE WALLPAPER -- COMMAND..." >&2; exit 2; }
mode=$1 scale=$2 wallpaper=$3
shift 4
here=$(cd "$(dirname "$0")" && pwd)

W=$(mktemp -d "${TMPDIR:-/tmp}/tintwell-wl.XXXXXX")
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    # The desktop portal starts the document portal, whose FUSE file system in the runtime folder goes only when
    # that process has noticed the bus is gone, which may be after this: it is detached here so the folder can go.
    fusermount3 -u -z "$W/run/doc" 2>/dev/null || true
    rm -rf "$W"
    rm -f /tmp/out.png
}
trap cleanup EXIT
chmod 755 "$W"
mkdir -p "$W/sway-run" "$W/run" "$W/home" "$W/portals"
chmod 700 "$W/run"
gcc -O2 -o "$W/vptr" "$here/vptr.c" -lwayland-client
cp "$wallpaper" "$W/wallpaper.png"
chmod 644 "$W/wallpaper.png"
cat >"$W/sway.conf" <<CONF
output HEADLESS-1 mode $mode position 0 0 scale $scale
output * bg $W/wallpaper.png stretch
default_border none
focus_follows_mouse no
seat * hide_cursor 100
xwayland disable
CONF
chmod 644 "$W/sway.conf"
# The portal of Debian 12 offers Screenshot only when some backend lists Access, which the wlroots backend,
# answering as an old version, is never asked for.
printf '[portal]\nDBusName=org.freedesktop.impl.portal.desktop.wlr\nInterfaces=org.freedesktop.impl.portal.Screenshot;org.freedesktop.impl.portal.ScreenCast;%s\nUseIn=sway\n' \
    "$access" >"$W/portals/wlr.portal"

# sway refuses to run as root: then it runs as a system user of its own, the clients stay root.
as_compositor=()
if [ "$(id -u)" -eq 0 ]; then
    id tintwell-ci >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin tintwell-ci
    chown tintwell-ci: "$W/sway-run"
    as_compositor=(setpriv --reuid=tintwell-ci --regid=tintwell-ci --init-groups)
fi
chmod 700 "$W/sway-run"
"${as_compositor[@]}" env -i HOME="$W/home" PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$W/sway-run" \
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$W/sway.conf" >"$W/sway.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    [ -S "$W/sway-run/wayland-1" ] && ls "$W"/sway-run/sway-ipc.*.sock >/dev/null 2>&1 && break
    sleep 0.05
done
[ -S "$W/sway-run/wayland-1" ] || { echo "sway did not start:" >&2; cat "$W/sway.log" >&2; exit 1; }

unset DISPLAY
export XDG_RUNTIME_DIR="$W/run" WAYLAND_DISPLAY="$W/sway-run/wayland-1" SWAYSOCK=$(ls "$W"/sway-run/sway-ipc.*.sock)
export XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=sway XDG_DESKTOP_PORTAL_DIR="$W/portals" QT_QPA_PLATFORM=wayland
export HOME="$W/home" XDG_CONFIG_HOME="$W/home/.config" XDG_DATA_HOME="$W/home/.local/share" \
    XDG_CACHE_HOME="$W/home/.cache" VPTR="$W/vptr"
for _ in $(seq 100); do swaymsg -t get_outputs >/dev/null 2>&1 && break; sleep 0.05; done
# Held devices: a seat without them gives clients neither pointer nor keyboard, and wtype's own keyboard
# would come too late for the first keys.
"$VPTR" hold 600 &
pids+=($!)
wtype -s 600000 &
pids+=($!)
# The portal's backend writes every screenshot to this one file: a stale copy must not pass.
rm -f /tmp/out.png

cat >"$W/bus.sh" <<'BUS'
#!/bin/sh
pipewire >"$W/pipewire.log" 2>&1 &
pipewire=$!
i=0; until [ -S "$XDG_RUNTIME_DIR/pipewire-0" ] || [ $i -ge 100 ]; do i=$((i+1)); sleep 0.05; done
# The backend first, then the portal: woken the other way round, the backend can stall the first call for 25 s.
busctl --user --timeout=10 call org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus \
    StartServiceByName su org.freedesktop.impl.portal.desktop.wlr 0 >/dev/null
i=0; until busctl --user --timeout=2 call org.freedesktop.impl.portal.desktop.wlr /org/freedesktop/portal/desktop \
    org.freedesktop.DBus.Peer Ping >/dev/null 2>&1 || [ $i -ge 10 ]; do i=$((i+1)); done
busctl --user --timeout=30 get-property org.freedesktop.portal.Desktop /org/freedesktop/portal/desktop \
    org.freedesktop.portal.Screenshot version >/dev/null
"$@"
status=$?
kill $pipewire
exit $status
BUS
chmod +x "$W/bus.sh"
export W
timeout 120 dbus-run-session -- "$W/bus.sh" "$@"
