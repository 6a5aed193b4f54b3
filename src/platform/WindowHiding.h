// Hiding a window without meeting Qt 6.4's Wayland frame-callback race.
#pragma once

class QWidget;

// Hides the top-level `window` now. On Wayland, Qt 6.4 destroys a window's pending frame callback as it hides the
// window, while its frame-event thread may be destroying the same callback as the compositor answers it: the
// process then aborts or crashes. There the window is hidden as soon as no frame callback is pending (Qt delivers
// an update request only then), within a bound, with user input held back until it is gone.
void hideWindow(QWidget *window);
