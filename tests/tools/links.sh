#!/bin/sh
# tintwell-reg needs the store and Qt Core alone: neither its link line nor the libraries it loads name
# anything of the desktop (Qt Gui, Widgets, OpenGL or D-Bus, X). The linker drops unused libraries, so the
# link line is checked as well as what ldd shows. Usage: links.sh TOOL NINJA BUILD_DIR
tool=$1 ninja=$2 build=$3
desktop='Qt6(Gui|Widgets|OpenGL|DBus)|xcb|libGL'
line=$("$ninja" -C "$build" -t commands tintwell-reg | tail -n 1)
if echo "$line" | grep -Eq "$desktop"; then
    echo "the link line names a desktop library: $(echo "$line" | grep -Eo "$desktop" | sort -u | tr '\n' ' ')"
    exit 1
fi
if ldd "$tool" | grep -E "$desktop"; then
    echo "tintwell-reg loads a desktop library"
    exit 1
fi
echo "ok"
