# Sourced, after session.sh, by the tests of an installed program. check_installed_program BINARY NAME starts
# BINARY, waits for its window, presses F1 and waits for the help window (the help file and the viewer
# library are found beside the real executable, wherever the link to it lies), keeps a screenshot as the
# artefact NAME.png and ends the program.
check_installed_program() {
    e2e_start "$1"
    xdotool key --window "$window" F1
    wait_window '^Corvane Tintwell Help' >/dev/null || fail "F1 in $1 opened no help window"
    import -window root "$artefacts/$2.png"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=
}
