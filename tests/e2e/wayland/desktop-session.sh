#!/usr/bin/env bash
# Runs a command on a private headless GNOME or KDE Plasma desktop, 1280x720 at scale 1, with a picture for its
# wallpaper, a D-Bus session bus with the desktop portal, pipewire, and a helper that drives the pointer and the
# keys: GNOME Shell through Mutter's remote-desktop API, KWin through its fake-input protocol (with a full-screen
# window of the picture standing in for Plasma's wallpaper). Everything it starts is stopped by PID when the
# command ends, with a hard kill after a bound; its exit code is ours.
# Usage: desktop-session.sh gnome|kde WALLPAPER_TOOL WALLPAPER.png PROGRAM -- COMMAND [ARG...]
#   WALLPAPER_TOOL is coordinate_wallpaper, which shows the picture full-screen on KDE.
#   PROGRAM is the program under test: on KDE a desktop entry grants it KWin's screenshot service, as the installed
#   entry does (KDE_UNGRANTED=1 leaves it out). COMMAND gets WAYLAND_DISPLAY, the XDG_* folders, QT_QPA_PLATFORM,
#   XDG_CURRENT_DESKTOP, and DRIVE_IN/DRIVE_OUT: write "move X Y", "click X Y [right]" or "key NAME" (Escape,
#   Return, space, Left, Up, Right, Down, F7, F12) as a line into DRIVE_IN, then read the helper's answer ("done")
#   from DRIVE_OUT.
set -euo pipefail
desktop=$1 wallpaper_tool=$2 wallpaper=$3 program=$4
[ "$5" = -- ] || { echo "usage: $0 gnome|kde WALLPAPER_TOOL WALLPAPER PROGRAM -- COMMAND..." >&2; exit 2; }
shift 5
here=$(cd "$(dirname "$0")" && pwd)

W=$(mktemp -d "${TMPDIR:-/tmp}/tintwell-desktop.XXXXXX")
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for _ in $(seq 30); do
        alive=0
        for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && alive=1; done
        [ $alive = 0 ] && break
        sleep 0.1
    done
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    fusermount3 -u -z "$W/run/doc" 2>/dev/null || true
    rm -rf "$W"
}
trap cleanup EXIT
mkdir -p "$W/run" "$W/home/Pictures" "$W/home/.local/share/applications" "$W/home/.config"
chmod 700 "$W/run"
cp "$wallpaper" "$W/wallpaper.png"
mkfifo "$W/drive-in" "$W/drive-out"

export XDG_RUNTIME_DIR="$W/run" HOME="$W/home" XDG_CONFIG_HOME="$W/home/.config" XDG_DATA_HOME="$W/home/.local/share" \
    XDG_CACHE_HOME="$W/home/.cache" XDG_SESSION_TYPE=wayland QT_QPA_PLATFORM=wayland DRIVE_IN="$W/drive-in" \
    DRIVE_OUT="$W/drive-out" W desktop program here wallpaper_tool
unset DISPLAY WAYLAND_DISPLAY

if [ "$desktop" = gnome ]; then
    export XDG_CURRENT_DESKTOP=GNOME WAYLAND_DISPLAY=wayland-0
    # GNOME Shell dies at start without a system bus (its login manager code): a private one, open to all.
    cat >"$W/system.conf" <<CONF
<busconfig><type>system</type><listen>unix:path=$W/system_bus</listen><auth>EXTERNAL</auth>
<policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/>
</policy></busconfig>
CONF
    dbus-daemon --config-file="$W/system.conf" --nofork >"$W/system-bus.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do [ -S "$W/system_bus" ] && break; sleep 0.05; done
    export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$W/system_bus"
else
    export XDG_CURRENT_DESKTOP=KDE WAYLAND_DISPLAY=wayland-kde
    # The packaged KWin carries a file capability that a container may not grant: a plain copy runs.
    cp /usr/bin/kwin_wayland "$W/kwin_wayland"
    wayland-scanner client-header /usr/share/plasma-wayland-protocols/fake-input.xml "$W/fake-input-client-protocol.h"
    wayland-scanner private-code /usr/share/plasma-wayland-protocols/fake-input.xml "$W/fake-input-protocol.c"
    gcc -O2 -I"$W" -o "$W/kwin-input" "$here/kwin-input.c" "$W/fake-input-protocol.c" -lwayland-client
    # KWin grants its fake input and its screenshot service to programs that a desktop entry, by their full
    # path, asks them for.
    printf '[Desktop Entry]\nType=Application\nName=Test input\nExec=%s\nX-KDE-Wayland-Interfaces=org_kde_kwin_fake_input\n' \
        "$W/kwin-input" >"$XDG_DATA_HOME/applications/test-input.desktop"
    [ "${KDE_UNGRANTED:-}" = 1 ] ||
        printf '[Desktop Entry]\nType=Application\nName=Program under test\nExec=%s\nX-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2\n' \
            "$(readlink -f "$program")" >"$XDG_DATA_HOME/applications/under-test.desktop"
    # KDE's portal draws its dialogs with QML of plasma-workspace, which scripts/deps.sh takes from the package
    # alone: the package would bring a whole desktop.
    plasma=/usr/local/share/tintwell-tests/plasma-workspace
    export QML2_IMPORT_PATH="$plasma/usr/lib/x86_64-linux-gnu/qt5/qml" XDG_DATA_DIRS="$plasma/usr/share:/usr/share"
fi

cat >"$W/bus.sh" <<'BUS'
#!/usr/bin/env bash
set -u
pids=()
# Last started, first stopped (the input helper, the desktop, pipewire), each with a hard kill after a bound: a
# shell that loses pipewire under it can spin on.
# With a count, only that many of the last started.
stop() {
    local count=${1:-${#pids[@]}} i pid
    for ((i = ${#pids[@]} - 1; i >= ${#pids[@]} - count; i--)); do
        pid=${pids[i]}
        kill "$pid" 2>/dev/null || continue
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
    done
    pids=("${pids[@]:0:${#pids[@]}-count}")
}
trap stop EXIT
pipewire >"$W/pipewire.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/pipewire-0" ] && break; sleep 0.05; done
if [ "$desktop" = gnome ]; then
    gsettings set org.gnome.desktop.background picture-uri "file://$W/wallpaper.png"
    gsettings set org.gnome.desktop.background picture-options stretched
    # Granted beforehand, the screenshot asks no question.
    gdbus call --session --dest org.freedesktop.impl.portal.PermissionStore \
        --object-path /org/freedesktop/impl/portal/PermissionStore \
        --method org.freedesktop.impl.portal.PermissionStore.SetPermission screenshot true screenshot '' "['yes']" >/dev/null
    # The shell, and the input helper that drives it; both go last in pids.
    start_gnome() {
        gnome-shell --headless --wayland --no-x11 --virtual-monitor 1280x720 >>"$W/desktop.log" 2>&1 &
        pids+=($!)
        for _ in $(seq 300); do
            busctl --user status org.gnome.Shell >/dev/null 2>&1 && [ -S "$XDG_RUNTIME_DIR/wayland-0" ] && break
            sleep 0.1
        done
        /usr/bin/python3 "$here/mutter-input.py" <>"$DRIVE_IN" 1<>"$DRIVE_OUT" 2>>"$W/input.log" &
        pids+=($!)
    }
    start_gnome
else
    kbuildsycoca5 >"$W/sycoca.log" 2>&1
    "$W/kwin_wayland" --virtual --width 1280 --height 720 --no-lockscreen --socket wayland-kde >"$W/desktop.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/wayland-kde" ] && break; sleep 0.05; done
    "$wallpaper_tool" --show "$W/wallpaper.png" >"$W/wallpaper.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 200); do grep -q shown "$W/wallpaper.log" && break; sleep 0.05; done
    "$W/kwin-input" <>"$DRIVE_IN" 1<>"$DRIVE_OUT" 2>"$W/input.log" &
    pids+=($!)
fi
# What the bus starts from here on (the portals) needs the display.
dbus-update-activation-environment WAYLAND_DISPLAY QT_QPA_PLATFORM XDG_CURRENT_DESKTOP HOME XDG_DATA_HOME \
    XDG_CONFIG_HOME XDG_DATA_DIRS QML2_IMPORT_PATH 2>/dev/null
# The helper holds the pipe open both ways: one that gives up ends this read with nothing.
read -r ready <"$DRIVE_OUT" || true
# Now and then the headless shell stalls as it starts and never answers the helper's remote-desktop session,
# however long it is asked; a shell started afresh does. So the two are started once more.
if [ "$ready" != ready ] && [ "$desktop" = gnome ]; then
    echo "the input helper got no session of the shell: starting the shell again" >>"$W/input.log"
    stop 2
    start_gnome
    read -r ready <"$DRIVE_OUT" || true
fi
[ "$ready" = ready ] || { echo "the input helper did not start:"; cat "$W/input.log" "$W/desktop.log"; exit 1; }
# GNOME Shell starts in the overview, where new windows get neither keys nor pointer.
if [ "$desktop" = gnome ]; then
    overview() { busctl --user get-property org.gnome.Shell /org/gnome/Shell org.gnome.Shell OverviewActive; }
    for _ in $(seq 100); do
        busctl --user set-property org.gnome.Shell /org/gnome/Shell org.gnome.Shell OverviewActive b false
        [ "$(overview)" = "b false" ] && break
        sleep 0.1
    done
    [ "$(overview)" = "b false" ] || { echo "GNOME Shell stayed in its overview"; exit 1; }
    # The seat has a keyboard only once the remote-desktop session has sent a key: a client made before would
    # get no keys at all.
    echo "key Shift_L" >"$DRIVE_IN" && read -r _ <"$DRIVE_OUT"
fi
"$@"
BUS
chmod +x "$W/bus.sh"
export QML2_IMPORT_PATH="${QML2_IMPORT_PATH:-}" XDG_DATA_DIRS="${XDG_DATA_DIRS:-/usr/share}"
timeout 300 dbus-run-session -- "$W/bus.sh" "$@"
