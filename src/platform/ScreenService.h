// A snapshot of the whole primary screen, in device pixels. A request completes asynchronously through a
// signal, since some backends answer later (a desktop portal); the X11 backend answers at once.
#pragma once

#include <QImage>
#include <QObject>

#include <functional>

class ScreenService : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Emits exactly one of snapshotReady, snapshotCancelled or snapshotFailed, possibly before returning.
    virtual void requestSnapshot() = 0;

signals:
    void snapshotReady(const QImage &snapshot);
    // The user declined to share the screen (a desktop that asks first); not an error.
    void snapshotCancelled();
    // What went wrong, in the user's words, and the technical cause.
    void snapshotFailed(const QString &message, const QString &details);
};

// Whether the session runs on Wayland, where the program can neither read the screen itself nor rely on being
// minimised; a program running through XWayland counts too.
bool IsWaylandSession();

// The backend for this session. Tests may replace the factory to serve a fixed image.
ScreenService *CreateScreenService(QObject *parent);
using ScreenServiceFactory = std::function<ScreenService *(QObject *parent)>;
void SetScreenServiceFactory(ScreenServiceFactory factory);
