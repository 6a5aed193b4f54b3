// Which window system the program's session runs on.
#pragma once

// The two ways "Wayland" is asked, which answer differently for a program run through XWayland:
// Whether the desktop session runs on Wayland (by the session's variables), where the program can neither read
// the screen itself nor rely on being minimised, whichever platform Qt uses; a program running through
// XWayland counts too.
bool isWaylandSession();
// Whether Qt itself talks to a Wayland compositor (its platform plugin): what Qt's own Wayland client does, its
// faults included, matters only then.
bool isWaylandPlatform();
// Whether the desktop in use (XDG_CURRENT_DESKTOP) is `name`, as "GNOME", "KDE" or "sway", ignoring case.
bool isDesktop(const char *name);

// Whether there is a display the program can open: an X server that answers on $DISPLAY, or a Wayland compositor
// listening on $WAYLAND_DISPLAY, of the ones Qt's platform ($QT_QPA_PLATFORM) would try; a platform that needs
// none (offscreen) counts as one. Qt ends the process when it can open none, so this is asked before the
// application object is made.
bool isDisplayReachable();
