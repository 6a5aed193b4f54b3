// The colour profile of an X screen, as the desktop's colour manager (GNOME's or KDE's colord support, xiccd,
// dispwin) publishes it by the "ICC Profiles in X" convention: on the root window, _ICC_PROFILE holds the profile
// of the first RandR monitor, _ICC_PROFILE_1 that of the second, and so on. Read afresh at each call: the user may
// switch profiles while the program runs.
#pragma once

#include <QByteArray>

class QScreen;

// The profile's bytes, or nothing when no profile is published for the screen or the session is not X11.
QByteArray readX11DisplayProfile(const QScreen &screen);
