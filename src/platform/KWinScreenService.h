// The screen on KDE Plasma through KWin's own screenshot service (org.kde.KWin.ScreenShot2), which can leave the
// pointer out, where KDE's desktop portal always puts it in. KWin serves a program whose desktop file grants it
// that service (X-KDE-DBUS-Restricted-Interfaces); for any other, and wherever KWin does not answer, the desktop
// portal stands in, and its pictures say that the pointer may be in them.
#pragma once

#include "ScreenService.h"

#include <QDBusConnection>

class PortalScreenService;

class KWinScreenService : public ScreenService
{
    Q_OBJECT

public:
    KWinScreenService(const QDBusConnection &bus, QObject *parent);

    void requestSnapshot(const QList<QScreen *> &screens) override;

private:
    // Screen after screen, each on KWin's answer to the one before.
    void capture(qsizetype index);
    void fallBack();

    QDBusConnection m_bus;
    PortalScreenService *m_portal;
    QList<QScreen *> m_screens;
    QList<ScreenPicture> m_pictures;
    quint64 m_request = 0;
};
