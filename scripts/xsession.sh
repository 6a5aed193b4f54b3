# Sourced by the test and benchmark scripts: starts a private X server (Xvfb, -noreset) with the openbox
# window manager and exports DISPLAY; xsession_stop ends both (call it from the caller's EXIT trap).
# Usage: xsession_start [WIDTHxHEIGHT]
xsession_start() {
    local size=${1:-1920x1080} display
    for display in $(seq 91 140); do
        [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
    done
    Xvfb ":$display" -screen 0 "${size}x24" -noreset -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$display"
    for _ in $(seq 100); do xset q >/dev/null 2>&1 && break; sleep 0.1; done
    xset q >/dev/null 2>&1 || { echo "Xvfb did not start on $DISPLAY" >&2; return 1; }
    openbox >/dev/null 2>&1 &
    OPENBOX_PID=$!
    for _ in $(seq 100); do xprop -root _NET_SUPPORTED 2>/dev/null | grep -q ATOM && break; sleep 0.1; done
}

xsession_stop() {
    [ -n "${OPENBOX_PID:-}" ] && kill "$OPENBOX_PID" 2>/dev/null
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null || true
}
