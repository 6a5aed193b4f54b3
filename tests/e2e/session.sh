# Sourced by the end-to-end tests of the real program under X: the common set-up and the screen readers.
#   e2e_begin NAME       needs DISPLAY; makes the artefacts folder and a private store and configuration
#                        folder ($scratch), all removed at exit with every program the test started ($pid and
#                        the ones in $others); `fail` reports, keeps the screenshot NAME-failure.png and exits.
#   e2e_start COMMAND... starts the program ($pid), waits for its editor window and activates it ($window).
#   find_window          the editor window's id, looked up afresh (a second start makes a new window);
#                        waits up to 30 s for it (a first start under the sanitizers on a busy machine is slow).
#   editor_window        the same without waiting; fails while there is none.
#   named_windows REGEX  the ids of the visible windows whose title matches (none is no error); fails when
#                        a window vanished while xdotool looked at it, so that the caller can look again.
#   wait_window REGEX [SECONDS]  the id of the first visible window whose title matches, once there is one
#                        (up to SECONDS, default 10).
#   window_gone REGEX    whether no visible window's title matches.
#   program_windows      how many visible windows the program ($pid) has, counted in one clean look;
#                        program_window_ids their ids; first_program_window the first one, once there is one.
#   editor_by_width, warning_window  the editor (300 pixels wide) or a warning (neither the editor nor the
#                        500-pixel splash) among them, or nothing.
#   two_screens          two RandR monitors side by side on a 3840x1080 X screen.
#   screen_pixel X Y     the colour of a screen pixel, as #RRGGBB.
#   client_pixel X Y     the same for a point of the editor's client area.
#   window_pixel WINDOW X Y, window_pixel_is WINDOW X Y COLOUR  the same for a given editor window.
#   offer TEXT           another program (xclip) takes the clipboard with TEXT.
#   eventually CMD...    runs CMD until it succeeds, for up to 10 s: a check that follows an action waits for
#                        the program rather than a fixed time (a sanitized build answers several times slower).
#   pixel_is X Y COLOUR  whether the client point (X, Y) shows COLOUR (#RRGGBB).
#   menu ALT_KEY KEY     opens the editor's menu with Alt+ALT_KEY, waits until it is shown and presses KEY.
#   quit_editor [PROCESS [WINDOW]]  File, Exit in the editor (of $pid, its window looked up); waits for the
#                        program to end with status 0. Keys lost on a busy machine are sent again; a program
#                        that stays fails the test within seconds, with a word.
#   ended PROCESS        whether a process the test started has ended (waited for or not).
#   await_end PROCESS WHAT  waits for the process to end, 60 s at most (else fails: WHAT did not end it), and
#                        sets $status to its exit status.
#   start_pick PROGRAM ARG...  PROGRAM --pick ARG... in the background ($pid), its output in $scratch/out and
#                        $scratch/err; waits for its (first) capture window.
#   pick_at X Y [KEY...] the pointer to (X, Y), then the keys, once the window under the pointer has the
#                        keyboard, or else a click.
#   finish_pick STATUS   waits for the pick to end; fails unless it ended with that exit status.
#   keys_under_pointer   whether the keyboard focus is in the window under the pointer (a capture window takes it
#                        once it is shown, and when the pointer enters it).
#   show_coordinates TOOL WIDTH HEIGHT  paints the root window with the picture of coordinate_wallpaper (TOOL),
#                        in which every pixel tells where it is; coordinate_hex X Y is the hexadecimal notation
#                        of its pixel (X, Y).
#   area_mean PICTURE X Y SIDE  ImageMagick's mean colour of the SIDE square around (X, Y) of PICTURE.
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
    # A test about to run out of its time says at which step it stood: its commands are traced to a file, whose
    # last lines a watcher prints shortly before the limit that ctest sets.
    exec {e2e_trace}>"$scratch/trace"
    BASH_XTRACEFD=$e2e_trace
    PS4='+ ${BASH_SOURCE[0]##*/}:$LINENO: '
    set -x
    local limit=${TINTWELL_E2E_LIMIT:-120}
    # (Its sleep holds none of the test's output open: ctest would wait for it.)
    { set +x; sleep $((limit > 20 ? limit - 10 : limit)) >/dev/null 2>&1 </dev/null &&
        echo "GIVING UP at ${limit} s; the last steps:" && tail -n 8 "$scratch/trace"; } &
    e2e_watcher=$!
}

e2e_end() {
    local status=$?
    set +x
    # A command that failed outside any check ended the test under errexit: its last steps say which.
    if [ "$status" != 0 ] && [ -z "${e2e_failed:-}" ]; then
        echo "FAIL: a step ended with status $status; the last steps:"
        tail -n 8 "$scratch/trace"
    fi
    # The watcher goes first: a clean-up that waits for every child (xsession_stop) would wait out its sleep.
    kill "$e2e_watcher" 2>/dev/null || true
    declare -F e2e_cleanup >/dev/null && e2e_cleanup
    # shellcheck disable=SC2086
    kill $pid $others 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$scratch"
}

fail() {
    e2e_failed=1
    echo "FAIL: $*"
    import -window root "$artefacts/$e2e_name-failure.png"
    exit 1
}

# xdotool gives up on the X error BadWindow when a window closes while it walks the window tree, and its
# --sync waits only for windows that are there when it starts looking: every lookup here looks again until
# it has had one clean look.
xdotool_clean() {
    local out
    out=$(xdotool "$@" 2>"$scratch/xdotool.err") || true
    grep -q 'X Error' "$scratch/xdotool.err" && return 1
    [ -z "$out" ] || echo "$out"
}

named_windows() { xdotool_clean search --onlyvisible --name "$1"; }

wait_window() {
    local ids
    for _ in $(seq $((${2:-10} * 10))); do
        if ids=$(named_windows "$1") && [ -n "$ids" ]; then
            head -n 1 <<<"$ids"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

window_gone() {
    local ids
    ids=$(named_windows "$1") && [ -z "$ids" ]
}

program_windows() {
    local ids
    ids=$(program_window_ids) || return 1
    grep -c . <<<"$ids" || true
}

# The program's ($pid) visible windows, one id a line, from one clean look.
program_window_ids() {
    local ids
    for _ in $(seq 100); do
        if ids=$(xdotool_clean search --onlyvisible --pid "$pid"); then
            [ -z "$ids" ] || echo "$ids"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# The program's first visible window, once there is one (up to 15 s).
first_program_window() {
    local ids
    for _ in $(seq 300); do
        ids=$(program_window_ids) && [ -n "$ids" ] && { head -n 1 <<<"$ids"; return 0; }
        sleep 0.05
    done
    return 1
}

# The program's windows told apart by their width: the editor is 300 pixels wide, the splash 500, and any
# other is a warning.
window_width() { xwininfo -id "$1" 2>/dev/null | awk '/Width:/ {print $2}'; }
editor_by_width() {
    local id
    for id in $(program_window_ids); do [ "$(window_width "$id")" = 300 ] && echo "$id"; done | sed -n 1p
}
warning_window() {
    local id
    for id in $(program_window_ids); do
        case $(window_width "$id") in 300 | 500 | "") ;; *) echo "$id" ;; esac
    done | sed -n 1p # (all read: head would end the loop with SIGPIPE, a failure under pipefail)
}

# Two screens of 1920x1080 side by side, as RandR monitors of the X screen (which must be 3840x1080).
two_screens() {
    xrandr --setmonitor LEFT 1920/508x1080/286+0+0 screen >/dev/null
    xrandr --setmonitor RIGHT 1920/508x1080/286+1920+0 none >/dev/null
}

# A warning carries the program's name as its title too: the editor is the one that is no dialog.
editor_window() {
    local id
    for id in $(named_windows '^Corvane Tintwell$'); do
        xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q '_NET_WM_WINDOW_TYPE_NORMAL' &&
            { echo "$id"; return 0; }
    done
    return 1
}

find_window() {
    for _ in $(seq 300); do
        editor_window && return 0
        sleep 0.1
    done
    return 1
}

# Whether the X input focus is in the window (Qt gives it to the top-level window itself).
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

e2e_start() {
    "$@" &
    pid=$!
    window=$(find_window) || fail "no editor window"
    xdotool windowactivate --sync "$window"
    eventually has_focus "$window" || fail "the editor window did not get the keyboard"
}

screen_pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}'; }

client_pixel() { window_pixel "$(find_window)" "$@"; }

# window_pixel WINDOW X Y: the colour of a point of that window's client area.
window_pixel() {
    local geometry x y
    geometry=$(xwininfo -id "$1")
    shift
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
window_pixel_is() { [ "$(window_pixel "$1" "$2" "$3")" = "$4" ]; }

# An id can go stale between its lookup and the activation (a window closing as the next start opens):
# then it is looked up again.
activate_found_editor() { xdotool_clean windowactivate --sync "$(find_window)" >/dev/null; }
activate_editor() { eventually activate_found_editor || fail "the editor could not be activated"; }

menu() {
    local before
    before=$(program_windows) || fail "cannot count the program's windows"
    activate_editor
    xdotool key "alt+$1"
    eventually eval '[ "$(program_windows)" -gt '"$before"' ]' || fail "the menu of Alt+$1 did not open"
    xdotool key "$2"
}

ended() { ! kill -0 "$1" 2>/dev/null || [[ $(ps -o stat= -p "$1" 2>/dev/null) == Z* ]]; }

# within SECONDS CMD...: runs CMD until it succeeds, for up to SECONDS.
within() {
    local tries=$(($1 * 10))
    shift
    for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
    return 1
}

await_end() {
    within 60 ended "$1" || fail "$2 did not end the program"
    status=0
    wait "$1" || status=$?
}

quit_editor() {
    local process=${1:-$pid} target=${2:-} menus status=0
    for attempt in 1 2 3; do
        ended "$process" && break
        [ -n "${2:-}" ] || target=$(find_window) || fail "no editor window to exit"
        xdotool_clean windowactivate --sync "$target" >/dev/null || true
        eventually has_focus "$target" || continue
        menus=$(xdotool_clean search --onlyvisible --pid "$process" | grep -c .) || continue
        xdotool key alt+f
        # The menu is a window of its own; an Alt+F lost leaves none.
        eventually eval '[ "$(xdotool_clean search --onlyvisible --pid "$process" | grep -c .)" -gt "$menus" ]' ||
            continue
        xdotool key x
        # Saving at exit takes long in the sanitized build on a busy machine.
        within 30 ended "$process" && break
    done
    ended "$process" || fail "File, Exit did not end the editor $process"
    wait "$process" || status=$?
    [ "$status" = 0 ] || fail "the editor $process ended with status $status"
    [ "$process" != "$pid" ] || pid=
}

start_pick() {
    "$1" --pick "${@:2}" >"$scratch/out" 2>"$scratch/err" &
    pid=$!
    wait_window '^CaptureFrm' >/dev/null || fail "no capture window"
}

# (No --sync on the move: it waits 15 s for a pointer that is already there, and the X server takes a move
# before the keys and clicks that follow it anyway.)
pick_at() {
    xdotool mousemove "$1" "$2"
    # With every screen captured, the window of the screen clicked on may map after the first one.
    eventually capture_under_pointer || fail "no capture window under the pointer at $1,$2"
    if [ $# -gt 2 ]; then
        eventually keys_under_pointer || fail "the capture window under the pointer did not get the keyboard"
        xdotool key "${@:3}"
    else
        xdotool click 1
    fi
}

finish_pick() {
    await_end "$pid" "the pick"
    pid=
    [ "$status" = "$1" ] || fail "--pick ended with $status, not $1 ($(cat "$scratch/err"))"
}

capture_under_pointer() {
    local under
    under=$(xdotool getmouselocation --shell 2>/dev/null | sed -n 's/^WINDOW=//p')
    [ -n "$under" ] && [ "$(xdotool getwindowname "$under" 2>/dev/null)" = CaptureFrm ]
}

keys_under_pointer() {
    local under
    under=$(xdotool getmouselocation --shell 2>/dev/null | sed -n 's/^WINDOW=//p')
    [ -n "$under" ] && has_focus "$under"
}

show_coordinates() {
    "$1" "$2" "$3" "$scratch/coordinates.png"
    # display leaves the picture on the root window but reports a failure, having shown no window of its own.
    display -window root "$scratch/coordinates.png" || true
    [ "$(screen_pixel 1001 333)" = '#E94D31' ] || fail "the coordinate wallpaper is not on the screen"
}

# area_mean PICTURE X Y SIDE: by ImageMagick, the mean colour (#RRGGBB, halves up) of the SIDE square centred
# on pixel (X, Y) of PICTURE, as far as it lies inside the picture.
area_mean() {
    local half=$(($4 / 2)) width height
    read -r width height < <(identify -format '%w %h' "$1")
    local left=$(($2 > half ? $2 - half : 0)) top=$(($3 > half ? $3 - half : 0))
    local right=$(($2 + half < width ? $2 + half : width - 1)) bottom=$(($3 + half < height ? $3 + half : height - 1))
    # shellcheck disable=SC2046
    printf '#%02X%02X%02X\n' $(convert "$1" -crop "$((right - left + 1))x$((bottom - top + 1))+$left+$top" +repage \
        -format '%[fx:floor(mean.r*255+0.5)] %[fx:floor(mean.g*255+0.5)] %[fx:floor(mean.b*255+0.5)]' info:)
}

coordinate_hex() { printf '0x00%02X%02X%02X' $(($1 & 255)) $(($2 & 255)) $(($1 >> 8 << 4 | $2 >> 8)); }
