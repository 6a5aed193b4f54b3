#include "ScreenService.h"

#include "PortalScreenService.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace {

// The X server's own copy of the screen: QScreen::grabWindow of the root window, in device pixels.
class X11ScreenService : public ScreenService
{
public:
    using ScreenService::ScreenService;

    void requestSnapshot() override
    {
        QScreen *screen = QGuiApplication::primaryScreen();
        const QImage snapshot = screen ? screen->grabWindow(0).toImage() : QImage();
        if (snapshot.isNull())
            emit snapshotFailed(QStringLiteral("The screen could not be read."),
                                QStringLiteral("The window system gave no picture of the primary screen (%1).")
                                    .arg(QGuiApplication::platformName()));
        else
            emit snapshotReady(snapshot);
    }
};

ScreenServiceFactory &Factory()
{
    static ScreenServiceFactory factory;
    return factory;
}

} // namespace

bool IsWaylandSession()
{
    return qEnvironmentVariableIsSet("WAYLAND_DISPLAY") || qEnvironmentVariable("XDG_SESSION_TYPE") == u"wayland";
}

ScreenService *CreateScreenService(QObject *parent)
{
    if (Factory()) return Factory()(parent);
    if (IsWaylandSession()) return new PortalScreenService(QDBusConnection::sessionBus(), parent);
    return new X11ScreenService(parent);
}

void SetScreenServiceFactory(ScreenServiceFactory factory) { Factory() = std::move(factory); }
