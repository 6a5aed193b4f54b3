// A capture from start to end: the snapshot asked of the screen service, a capture window on each screen it
// covers, and the pick or the cancel that ends them all.
#pragma once

#include "CaptureChoices.h"
#include "frmCapture.h"

#include <QList>

#include <memory>
#include <optional>
#include <vector>

// The capture windows, one per captured screen. They are kept from one capture to the next: the first showing
// of a window the size of a screen costs as much again as the grab itself (fresh memory for its backing store),
// later ones almost nothing.
class TCaptureWindows
{
public:
    TCaptureWindows();
    ~TCaptureWindows();
    TCaptureWindows(const TCaptureWindows &) = delete;
    TCaptureWindows &operator=(const TCaptureWindows &) = delete;

    // Shows each picture over its screen until the user picks a pixel (its colour) or cancels (nothing). The
    // zoom and the sample are read from and left in `choices`.
    std::optional<PickedColour> Pick(const QList<ScreenPicture> &pictures, CaptureChoices &choices);

    // The windows of the capture under way (and idle ones beyond them).
    const std::vector<std::unique_ptr<TCaptureFrm>> &Forms() const { return m_forms; }

private:
    std::vector<std::unique_ptr<TCaptureFrm>> m_forms;
};

// Takes a snapshot through `screen` of the primary screen, or of every screen when `allScreens`, and lets the
// user pick a pixel of it in `windows`. Returns its colour; nothing when the user cancelled, here or at the
// desktop's own question. Throws ECVException (a warning) when no snapshot can be had.
std::optional<PickedColour> CaptureColour(ScreenService &screen, TCaptureWindows &windows, bool allScreens,
                                          CaptureChoices &choices);
