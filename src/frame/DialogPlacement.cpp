#include "DialogPlacement.h"

#include <QWidget>

QSize FramedSize(const QWidget &dialog, const QWidget &framed)
{
    return dialog.size() + (framed.frameGeometry().size() - framed.size());
}

void CentreOverOwner(QWidget &dialog)
{
    const QWidget *owner = dialog.parentWidget();
    if (!owner) return;
    const QRect ownerFrame = owner->window()->frameGeometry();
    const QSize outer = FramedSize(dialog, *owner->window());
    // A top-level window's move places its frame's corner.
    dialog.move(ownerFrame.left() + (ownerFrame.width() - outer.width()) / 2,
                ownerFrame.top() + (ownerFrame.height() - outer.height()) / 2);
}
