#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tintwell need. Idempotent and quiet
# when everything is there; uses sudo when not run as root.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ clang libclang-rt-14-dev clang-format-14 pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools qt6-documentation-tools
    libqt6sql6-sqlite libsqlite3-dev libgl-dev libbenchmark-dev libxcb1-dev
    # run and test
    fonts-dejavu-core xdg-utils
    xvfb xauth openbox xdotool xclip x11-xserver-utils x11-utils imagemagick
    desktop-file-utils appstream valgrind
    # the Wayland capture: a headless desktop with the screenshot portal, and a pointer helper built from source
    qt6-wayland sway swaybg grim wtype xdg-desktop-portal xdg-desktop-portal-wlr pipewire dbus libwayland-dev wl-clipboard
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "deps.sh: not root and no sudo; install: ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
fi
echo "Installing ${missing[*]}"
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
