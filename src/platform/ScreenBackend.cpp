#include "ScreenBackend.h"

#include "KWinScreenService.h"
#include "PortalScreenService.h"
#include "SessionType.h"
#include "X11DisplayProfile.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace {

// The X server's own copy of each screen: QScreen::grabWindow of the root window, in device pixels.
class X11ScreenService : public ScreenService
{
public:
    using ScreenService::ScreenService;

    void requestSnapshot(const QList<QScreen *> &screens) override
    {
        QList<ScreenPicture> pictures;
        for (QScreen *screen : screens) {
            QImage image = screen->grabWindow(0).toImage();
            if (image.isNull()) {
                emit snapshotFailed(QStringLiteral("The screen could not be read."),
                                    QStringLiteral("The window system gave no picture of the screen %1 (%2).")
                                        .arg(screen->name(), QGuiApplication::platformName()));
                return;
            }
            image.setDevicePixelRatio(1);
            // Qt scales a screen's size but keeps its top-left corner in device pixels.
            pictures.append({screen, image, screen->geometry().topLeft(), false, readX11DisplayProfile(*screen)});
        }
        deliver(pictures);
    }
};

ScreenServiceFactory &Factory()
{
    static ScreenServiceFactory factory;
    return factory;
}

} // namespace

ScreenService *createScreenService(QObject *parent)
{
    if (Factory()) return Factory()(parent);
    if (isWaylandSession() && isDesktop("KDE")) return new KWinScreenService(QDBusConnection::sessionBus(), parent);
    if (isWaylandSession()) return new PortalScreenService(QDBusConnection::sessionBus(), parent);
    return new X11ScreenService(parent);
}

void setScreenServiceFactory(ScreenServiceFactory factory)
{
    Factory() = std::move(factory);
}
