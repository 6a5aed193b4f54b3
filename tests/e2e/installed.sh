# Sourced by the tests of an installed program. check_installed_program BINARY NAME starts BINARY with a
# private store, waits for its window, presses F1 and waits for the help window (the help file and the
# viewer library are found beside the real executable, wherever the link to it lies), keeps a screenshot as
# the artefact NAME.png and closes the program. Returns non-zero with a message on the first fault.
check_installed_program() {
    local binary=$1 name=$2 store pid window status=0
    local artefacts=${TINTWELL_ARTEFACTS:-$PWD/artefacts}
    mkdir -p "$artefacts"
    store=$(mktemp -d)
    TINTWELL_REGISTRY_DIR="$store" "$binary" &
    pid=$!
    if ! window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Corvane Tintwell$' | head -n 1); then
        echo "FAIL: $binary showed no window"
        status=1
    else
        xdotool windowactivate --sync "$window"
        sleep 0.3
        xdotool key --window "$window" F1
        if ! timeout 10 xdotool search --sync --onlyvisible --name '^Corvane Tintwell Help - ' >/dev/null; then
            echo "FAIL: F1 in $binary opened no help window"
            status=1
        fi
        import -window root "$artefacts/$name.png"
    fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    rm -rf "$store"
    return $status
}
