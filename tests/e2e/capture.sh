#!/usr/bin/env bash
# F12 on the real binary under X with a window manager: the program gets out of the way and the pixel
# clicked on the frozen screen becomes the colour, exactly that pixel, over the root window and over
# another program's window. F7 then hands the colour to another program (xclip); Escape cancels.
# Usage: capture.sh TINTWELL [SCALE]   SCALE 1.25 runs with Xft.dpi 120, which Qt turns into a scale of 1.25.
set -euo pipefail
scale=${2:-1}
. "$(dirname "$0")/session.sh"
e2e_begin "capture-$scale"
# The X server serves the other tests after this one.
e2e_cleanup() {
    xrdb -remove 2>/dev/null || true
    xsetroot -solid black 2>/dev/null || true
}

# Vertical stripes one pixel wide: even columns #0A141E, odd ones #FF8000. A click mapped to a neighbour
# picks the other colour.
cat >"$scratch/stripes.xbm" <<'XBM'
#define stripes_width 2
#define stripes_height 2
static unsigned char stripes_bits[] = {
   0x01, 0x01};
XBM
xsetroot -bitmap "$scratch/stripes.xbm" -fg '#0A141E' -bg '#FF8000'
[ "$scale" = 1 ] || echo "Xft.dpi: $(awk -v s="$scale" 'BEGIN { print 96 * s }')" | xrdb -merge

xmessage -bg '#336699' -geometry 300x200+700+500 ' ' &
others=$!
e2e_start "$1"

# pick X Y EXPECTED_HEX: capture at device pixel (X, Y), copy with F7 and read the clipboard.
pick() {
    xdotool windowactivate --sync "$window"
    sleep 0.3
    xdotool key F12 # typed, as a user does: the window has the focus
    local form
    form=$(timeout 10 xdotool search --sync --onlyvisible --name '^CaptureFrm' | head -n 1) || fail "no capture window"
    sleep 0.3
    xdotool mousemove --sync "$1" "$2"
    sleep 0.2
    import -window root "$artefacts/capture-$scale-magnifier.png"
    xdotool click 1
    for _ in $(seq 50); do xdotool search --onlyvisible --name '^CaptureFrm' >/dev/null 2>&1 || break; sleep 0.1; done
    # The window comes back by itself, active.
    for _ in $(seq 50); do
        xwininfo -id "$window" | grep -q IsViewable && [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ] && break
        sleep 0.1
    done
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ] || fail "the main window did not come back active"
    sleep 0.3
    xdotool key F7
    sleep 0.3
    local copied
    copied=$(xclip -o -selection clipboard)
    [ "$copied" = "$3" ] || fail "capture at $1,$2 gave '$copied', expected '$3'"
    echo "capture at $1,$2: $copied"
}

# Where the main window stands: it must be gone from the snapshot.
x=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print $4}')
y=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ {print $4}')
col=$(( (x + 100) / 2 * 2 ))
pick "$col" $((y + 100)) 0x000A141E
pick $((col + 1)) $((y + 100)) 0x00FF8000
pick 1001 201 0x00FF8000
pick 1000 201 0x000A141E
[ "$(screen_pixel 900 600)" = "#336699" ] || fail "the other program's window is not where expected"
pick 900 600 0x00336699

# Escape, typed into the capture window, cancels: the editor comes back active with its colour unchanged.
xdotool windowactivate --sync "$window"
xdotool key F12
timeout 10 xdotool search --sync --onlyvisible --name '^CaptureFrm' >/dev/null || fail "no capture window"
xdotool mousemove --sync 1000 201
xdotool key Escape
eventually eval '! xdotool search --onlyvisible --name "^CaptureFrm" >/dev/null 2>&1' || fail "Escape left the capture window"
eventually eval '[ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ]' || fail "the editor did not come back active"
xdotool key F7
eventually eval '[ "$(xclip -o -selection clipboard)" = 0x00336699 ]' || fail "Escape changed the colour"
kill -0 "$pid" || fail "the program ended"
echo "ok"
