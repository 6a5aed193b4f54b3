// Snapshots of the screens, in device pixels. A request completes asynchronously through a signal, since some
// backends answer later (a desktop portal); the X11 backend answers at once.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QObject>

class QScreen;

// What one screen showed, and where that lies in the snapshot of all the screens captured together.
struct ScreenPicture
{
    QScreen *screen = nullptr;
    QImage image;  // in the snapshot's pixels, which are the screen's device pixels where the desktop allows
    QPoint origin; // of the image's top-left corner in the snapshot; (0, 0) is the snapshot's top-left corner
    bool mayShowPointer = false; // the desktop drew its pointer into the picture, where it stood
    QByteArray profile;          // the screen's colour profile (ICC) as the desktop publishes it; empty without one
};

class ScreenService : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Takes one snapshot of `screens` together. Emits exactly one of snapshotReady (a picture per screen, in
    // the order asked), snapshotCancelled or snapshotFailed, possibly before returning.
    virtual void requestSnapshot(const QList<QScreen *> &screens) = 0;

signals:
    void snapshotReady(const QList<ScreenPicture> &pictures);
    // The user declined to share the screen (a desktop that asks first); not an error.
    void snapshotCancelled();
    // What went wrong, in the user's words, and the technical cause.
    void snapshotFailed(const QString &message, const QString &details);

protected:
    // Emits snapshotReady with each picture's origin made relative to the top-left corner of them all; the
    // origins come in the backend's own desktop coordinates.
    void deliver(QList<ScreenPicture> pictures);
};
