#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tintwell need. Idempotent and quiet
# when everything is there; uses sudo when not run as root.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ clang libclang-rt-14-dev clang-format-14 pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools qt6-documentation-tools
    libqt6sql6-sqlite libsqlite3-dev libgl-dev libbenchmark-dev libxcb1-dev libxcb-randr0-dev liblcms2-dev
    # run and test
    fonts-dejavu-core xdg-utils
    xvfb xauth openbox xdotool xclip x11-xserver-utils x11-utils imagemagick
    desktop-file-utils appstream valgrind liblcms2-utils lintian
    # what a screen reader reads, over AT-SPI
    at-spi2-core python3-pyatspi
    # the Wayland capture: a headless desktop with the screenshot portal, and a pointer helper built from source
    qt6-wayland sway swaybg grim wtype xdg-desktop-portal xdg-desktop-portal-wlr pipewire dbus libwayland-dev wl-clipboard
)
# The tests' colour oracle, colorjs.io from npm, runs on Node.js: Debian's, unless one is there already.
command -v node >/dev/null && command -v npm >/dev/null || packages+=(nodejs npm)
# The capture on GNOME (its shell headless, driven through Mutter's D-Bus API from Python) and on KDE Plasma (KWin
# headless, driven through its fake-input protocol, with KDE's portal and the QML it draws with); without the
# packages they recommend, which would bring whole desktop sessions.
desktops=(
    gnome-shell xdg-desktop-portal-gnome python3-dbus python3-gi
    kwin-wayland xdg-desktop-portal-kde qtwayland5 kde-cli-tools plasma-wayland-protocols libwayland-bin
    qml-module-org-kde-kirigami2 qml-module-qtquick-controls2 qml-module-qtquick-layouts qml-module-qtquick-window2
    qml-module-qtquick2 qml-module-qtgraphicaleffects qml-module-qtqml-models2
    # GIMP, run headless, reads the palettes the program writes
    gimp
)

# KDE's portal also draws with QML of plasma-workspace, which would bring a whole desktop: its files alone are
# taken from the package, once, beside the system's own.
plasma=/usr/local/share/tintwell-tests/plasma-workspace
take_plasma_qml() {
    [ -d "$plasma/usr/lib" ] && return 0
    local download
    download=$(mktemp -d)
    chmod 755 "$download" # apt's own user writes the download
    (cd "$download" && apt-get download plasma-workspace >/dev/null) &&
        "${sudo[@]}" mkdir -p "$plasma" && "${sudo[@]}" dpkg-deb -x "$download"/plasma-workspace_*.deb "$plasma"
    rm -rf "$download"
}

# colorjs.io, by the editors of CSS Color 4, checks the colour notations of the web, ase-utils reads Adobe's
# swatch files and culori computes WCAG's contrast by its own formula; without npm's registry the tests that use
# them are skipped and say so.
oracle=/usr/local/share/tintwell-tests/node
take_colour_oracle() {
    local modules=(colorjs.io@0.7.1 ase-utils@0.1.1 culori@4.0.2) module missing=0
    for module in "${modules[@]}"; do [ -f "$oracle/node_modules/${module%@*}/package.json" ] || missing=1; done
    [ "$missing" = 1 ] || return 0
    "${sudo[@]}" mkdir -p "$oracle"
    "${sudo[@]}" npm install --prefix "$oracle" --no-audit --no-fund --silent "${modules[@]}" >/dev/null 2>&1 ||
        echo "deps.sh: ${modules[*]} could not be installed from npm; the tests against them will be skipped" >&2
}

# missing PACKAGE...: those not installed.
missing() {
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || echo "$package"
    done
}
mapfile -t missing_packages < <(missing "${packages[@]}")
mapfile -t missing_desktops < <(missing "${desktops[@]}")
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null ||
        { echo "deps.sh: not root and no sudo; install: ${missing_packages[*]} ${missing_desktops[*]}" >&2; exit 1; }
    sudo=(sudo)
fi
if [ $((${#missing_packages[@]} + ${#missing_desktops[@]})) -gt 0 ]; then
    echo "Installing ${missing_packages[*]} ${missing_desktops[*]}"
    "${sudo[@]}" apt-get update -qq
    install=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq)
    [ ${#missing_packages[@]} -eq 0 ] || "${install[@]}" "${missing_packages[@]}" >/dev/null
    [ ${#missing_desktops[@]} -eq 0 ] || "${install[@]}" --no-install-recommends "${missing_desktops[@]}" >/dev/null
fi
take_plasma_qml
take_colour_oracle
