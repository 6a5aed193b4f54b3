// Whether a key is down at this moment, as the X server knows it. On X11 a held key repeats as pairs of a
// release and a press, and the release of such a pair can reach Qt before its press does, so Qt flags it as a
// real release. The server's own key state tells the two apart.
#pragma once

#include <QtGlobal>

#include <optional>

// Nothing where the window system keeps no such state for the program (Wayland, where Qt makes the repeats
// itself and flags them reliably; the offscreen platform).
std::optional<bool> isKeyDown(quint32 nativeScanCode);
