// Two faults of Qt 6.4's Wayland client that the program works around, in one place. Each is named with what
// it does and guarded by Qt's version, so that a later Qt, once checked, drops the workaround.
#pragma once

#include <memory>

// A hang at the close of the display: Qt 6.4's Wayland client can leave a read it prepared for the
// main thread neither done nor cancelled when its event thread stops, and then waits for ever for its
// frame-event thread, which waits for that read. Once the program's work is done (output flushed, clipboard
// handed over, everything saved), nothing the teardown does matters to the user; on Wayland the process ends
// here at once with `status`, elsewhere this gives `status` back for main to return.
int finishProcess(int status);

// Qt 6.4 destroys a Wayland window's frame lock while its frame-event thread may hold it ("QMutex: destroying
// locked mutex", about one pick in eight at scale 2). Windows made for a short run are left to the process's
// end, which follows at once (finishProcess), rather than destroyed.
bool waylandWindowsOutliveTheirFrames();
template <typename Windows> void keepToProcessEnd(std::unique_ptr<Windows> &windows)
{
    if (waylandWindowsOutliveTheirFrames()) (void)windows.release();
}
