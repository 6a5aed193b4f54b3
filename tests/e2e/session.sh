# Sourced by the end-to-end tests of the real program under X: the common set-up and the screen readers.
#   e2e_begin NAME       needs DISPLAY; makes the artefacts folder and a private store and configuration
#                        folder ($scratch), all removed at exit with every program the test started ($pid and
#                        the ones in $others); `fail` reports, keeps the screenshot NAME-failure.png and exits.
#   e2e_start BINARY     starts the program ($pid), waits for its editor window and activates it ($window).
#   find_window          the editor window's id, looked up afresh (always-on-top makes a new native window).
#   screen_pixel X Y     the colour of a screen pixel, as #RRGGBB.
#   client_pixel X Y     the same for a point of the editor's client area.
#   offer TEXT           another program (xclip) takes the clipboard with TEXT.
# A test may define e2e_cleanup, which runs first at exit.

e2e_begin() {
    e2e_name=$1
    artefacts=${TINTWELL_ARTEFACTS:-$PWD/artefacts}
    mkdir -p "$artefacts"
    [ -n "${DISPLAY:-}" ] || { echo "needs an X server (scripts/test.sh starts one)"; exit 1; }
    scratch=$(mktemp -d)
    pid= others=
    trap e2e_end EXIT
    export TINTWELL_REGISTRY_DIR="$scratch/registry" XDG_CONFIG_HOME="$scratch/config"
}

e2e_end() {
    declare -F e2e_cleanup >/dev/null && e2e_cleanup
    # shellcheck disable=SC2086
    kill $pid $others 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$scratch"
}

fail() {
    echo "FAIL: $*"
    import -window root "$artefacts/$e2e_name-failure.png"
    exit 1
}

find_window() { timeout 20 xdotool search --sync --onlyvisible --name '^Corvane Tintwell$' | head -n 1; }

e2e_start() {
    "$1" &
    pid=$!
    window=$(find_window) || fail "no editor window"
    [ -n "$window" ] || fail "no editor window"
    xdotool windowactivate --sync "$window"
    sleep 0.5
}

screen_pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}'; }

client_pixel() {
    local geometry x y
    geometry=$(xwininfo -id "$(find_window)")
    x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$geometry")
    y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")
    screen_pixel $((x + $1)) $((y + $2))
}

# xclip stays behind to serve the clipboard: its output must not hold the test runner's pipe open.
offer() { printf '%s' "$1" | xclip -selection clipboard -i >/dev/null 2>&1; }
