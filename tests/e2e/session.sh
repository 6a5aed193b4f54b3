# Sourced by the end-to-end tests of the real program under X: the common set-up and the screen readers.
#   e2e_begin NAME       needs DISPLAY; makes the artefacts folder and a private store and configuration
#                        folder ($scratch), all removed at exit with every program the test started ($pid and
#                        the ones in $others); `fail` reports, keeps the screenshot NAME-failure.png and exits.
#   e2e_start COMMAND... starts the program ($pid), waits for its editor window and activates it ($window).
#   find_window          the editor window's id, looked up afresh (always-on-top makes a new native window).
#   screen_pixel X Y     the colour of a screen pixel, as #RRGGBB.
#   client_pixel X Y     the same for a point of the editor's client area.
#   offer TEXT           another program (xclip) takes the clipboard with TEXT.
#   eventually CMD...    runs CMD until it succeeds, for up to 10 s: a check that follows an action waits for
#                        the program rather than a fixed time (a sanitized build answers several times slower).
#   pixel_is X Y COLOUR  whether the client point (X, Y) shows COLOUR (#RRGGBB).
#   menu ALT_KEY KEY     opens the editor's menu with Alt+ALT_KEY, waits until it is shown and presses KEY.
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
    "$@" &
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

eventually() {
    local try
    for try in $(seq 100); do "$@" && return 0; sleep 0.1; done
    return 1
}

pixel_is() { [ "$(client_pixel "$1" "$2")" = "$3" ]; }

visible_windows() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }

menu() {
    local before
    before=$(visible_windows)
    xdotool windowactivate --sync "$(find_window)"
    xdotool key "alt+$1"
    eventually eval '[ "$(visible_windows)" -gt '"$before"' ]' || fail "the menu of Alt+$1 did not open"
    xdotool key "$2"
}
