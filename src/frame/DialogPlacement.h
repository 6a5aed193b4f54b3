// Where dialogs open. The window manager frames a window only as it shows it, so a dialog's frame is not known
// before then; the frame of the window it opens over, drawn by the same window manager, is a close estimate.
#pragma once

class QSize;
class QWidget;

// The dialog's outer size once framed, estimated from the frame around `framed`.
QSize FramedSize(const QWidget &dialog, const QWidget &framed);
// Moves the dialog so that its frame will be centred over its owner's frame; a dialog without an owner stays.
void CentreOverOwner(QWidget &dialog);
