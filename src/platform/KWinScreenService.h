// The screen on KDE Plasma through KWin's own screenshot service (org.kde.KWin.ScreenShot2), which can leave the
// pointer out, where KDE's desktop portal always puts it in. KWin serves a program whose desktop file grants it
// that service (X-KDE-DBUS-Restricted-Interfaces); for any other, and wherever KWin does not answer, the desktop
// portal stands in, and its pictures say that the pointer may be in them.
#pragma once

#include "ScreenService.h"

#include <QDBusConnection>
#include <QImage>

#include <optional>

class PortalScreenService;

class KWinScreenService : public ScreenService
{
    Q_OBJECT

public:
    KWinScreenService(const QDBusConnection &bus, QObject *parent);

    void requestSnapshot(const QList<QScreen *> &screens) override;

private:
    // Every screen is asked at once; KWin writes each picture into a pipe of its own, which is read away from
    // the window's thread.
    void capture(qsizetype index);
    void received(quint64 request, qsizetype index, std::optional<QImage> picture);
    void fallBack();

    QDBusConnection m_bus;
    PortalScreenService *m_portal;
    QList<QScreen *> m_screens;
    QList<std::optional<QImage>> m_pictures; // by screen, as they come
    qsizetype m_waiting = 0;
    quint64 m_request = 0;
};
