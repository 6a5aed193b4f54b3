// What the program copied stays on the clipboard after it ends. On X11 the clipboard is served by the program
// that placed it there, so it goes with that program unless a clipboard manager takes it over. At exit the
// program therefore hands what it placed to a small holder process of its own (this executable started with
// a private option: no window, no store), which serves it until another program takes the clipboard. On
// Wayland a new process cannot take the clipboard; there the compositor or a clipboard manager keeps it.
#pragma once

#include <chrono>

// Call as the program ends, while the QGuiApplication still exists. When this program still owns the clipboard
// on X11 and no clipboard manager is there to take it over (Qt hands it to one itself), starts the holder with
// the text or image on the clipboard and waits until the holder owns it, at most `bound`, so that a paste
// right after the exit finds it. True when the holder owns it in time. Otherwise it returns false at once.
bool keepClipboardAfterExit(std::chrono::milliseconds bound = std::chrono::milliseconds(500));

// Whether the command line starts the holder; main asks this before anything else.
bool isClipboardHolderCall(int argc, char *argv[]);
// The holder process: serves the clipboard handed over on standard input until another program takes the
// clipboard or the X server goes away. Returns the exit status.
int runClipboardHolder();
