#include "PortalScreenService.h"

#include "PortalSnapshotFile.h"
#include "SessionType.h"

#include <QDBusError>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>

#include <optional>
#include <utility>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");

enum ResponseCode : uint { Success = 0, CancelledByUser = 1 };

// What the desktop in use needs for the portal's screenshot, by its name in XDG_CURRENT_DESKTOP.
QString WhatThisDesktopNeeds()
{
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP", QStringLiteral("(none named)"));
    QString needs;
    if (isDesktop("GNOME"))
        needs = QStringLiteral("xdg-desktop-portal-gnome, and GNOME Shell running; the first screenshot of a program "
                               "may have to be allowed in GNOME's settings.");
    else if (isDesktop("KDE"))
        needs = QStringLiteral("xdg-desktop-portal-kde, which keeps each screenshot in the Pictures folder: that "
                               "folder must exist.");
    else if (isDesktop("sway") || isDesktop("wlroots") || isDesktop("Hyprland") || isDesktop("river"))
        needs = QStringLiteral("xdg-desktop-portal-wlr and grim.");
    else
        needs = QStringLiteral("the portal of that desktop: xdg-desktop-portal-gnome on GNOME, xdg-desktop-portal-kde "
                               "on KDE Plasma, or xdg-desktop-portal-wlr and grim on sway and other wlroots desktops.");
    return QStringLiteral("The desktop is %1. It needs xdg-desktop-portal and %2").arg(desktop, needs);
}

// KDE's portal keeps its screenshot in the Pictures folder and answers "cancelled" when there is none.
std::optional<QString> MissingPicturesFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!isDesktop("KDE") || QFileInfo(pictures).isDir()) return std::nullopt;
    return pictures;
}

// A token no other request of this process uses.
QString NextToken()
{
    static quint64 count = 0;
    return QStringLiteral("tintwell%1_%2").arg(QCoreApplication::applicationPid()).arg(++count);
}

// Where the portal puts the Request object for `token` (portal 0.9 and later): the caller's unique name
// without the colon and with its dots as underscores.
QString RequestPath(const QDBusConnection &bus, const QString &token)
{
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    return QStringLiteral("%1/request/%2/%3").arg(PortalPath, sender, token);
}

} // namespace

PortalScreenService::PortalScreenService(const QDBusConnection &bus, QObject *parent, std::chrono::milliseconds timeout)
    : ScreenService(parent), m_bus(bus), m_timeout(timeout)
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &PortalScreenService::abandon);
}

void PortalScreenService::requestSnapshot(const QList<QScreen *> &screens)
{
    m_screens = screens;
    if (!m_bus.isConnected()) {
        emit snapshotFailed(QStringLiteral("The screen cannot be read: there is no D-Bus session bus to reach the "
                                           "desktop portal. Install dbus-user-session."),
                            m_bus.lastError().message());
        return;
    }
    const QString token = NextToken();
    m_requested = QDateTime::currentDateTime();
    // Listening before calling: the Response may overtake the call's reply.
    listen(RequestPath(m_bus, token));
    const quint64 request = ++m_request;

    QDBusMessage call = QDBusMessage::createMethodCall(
        PortalService, PortalPath, QStringLiteral("org.freedesktop.portal.Screenshot"), QStringLiteral("Screenshot"));
    call << QString() << QVariantMap{{QStringLiteral("handle_token"), token}, {QStringLiteral("interactive"), false}};
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, int(m_timeout.count())), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, request](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        // A reply to an abandoned request, or one whose Response came first, changes nothing.
        if (request != m_request || m_handle.isEmpty()) return;
        const QDBusPendingReply<QDBusObjectPath> reply = *finished;
        if (reply.isError())
            onCallError(reply.error());
        else
            onReply(reply.value().path());
    });
    m_deadline.start(m_timeout);
}

void PortalScreenService::listen(const QString &handle)
{
    stopListening();
    m_handle = handle;
    m_bus.connect(PortalService, m_handle, RequestInterface, QStringLiteral("Response"), this,
                  SLOT(onResponse(uint, QVariantMap, QDBusMessage)));
}

void PortalScreenService::onReply(const QString &handle)
{
    // Portals older than 0.9 choose their own path and ignore the token.
    if (handle != m_handle) listen(handle);
}

void PortalScreenService::onCallError(const QDBusError &error)
{
    switch (error.type()) {
    case QDBusError::NoReply:
    case QDBusError::Timeout:
        abandon();
        return;
    // The warning shows a few short lines; what to install goes into its details.
    case QDBusError::ServiceUnknown:
        finish();
        emit snapshotFailed(QStringLiteral("The screen cannot be read: no desktop portal is running."),
                            WhatThisDesktopNeeds() + QStringLiteral("\n\n") + error.message());
        return;
    case QDBusError::UnknownMethod:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownObject:
        finish();
        emit snapshotFailed(QStringLiteral("The screen cannot be read: the desktop portal offers no screenshot here."),
                            WhatThisDesktopNeeds() + QStringLiteral("\n\n") + error.message());
        return;
    default:
        finish();
        emit snapshotFailed(QStringLiteral("The desktop portal refused the screenshot."),
                            QStringLiteral("%1: %2").arg(error.name(), error.message()));
    }
}

void PortalScreenService::onResponse(uint code, const QVariantMap &results, const QDBusMessage &message)
{
    if (m_handle.isEmpty() || message.path() != m_handle) return;
    finish();
    if (code == Success) {
        readLayout(results);
    } else if (code == CancelledByUser) {
        if (const std::optional<QString> pictures = MissingPicturesFolder())
            emit snapshotFailed(QStringLiteral("The desktop portal could not save its screenshot."),
                                QStringLiteral("KDE's portal keeps each screenshot in %1, which does not exist; it "
                                               "answers as if you had cancelled. Make that folder.")
                                    .arg(*pictures));
        else
            emit snapshotCancelled();
    } else {
        emit snapshotFailed(QStringLiteral("The desktop portal could not take a screenshot."),
                            QStringLiteral("The portal answered %1. %2").arg(code).arg(WhatThisDesktopNeeds()));
    }
}

void PortalScreenService::readLayout(const QVariantMap &results)
{
    const QUrl uri(results.value(QStringLiteral("uri")).toString());
    // Read at once: some portals write every screenshot to the same file.
    const PortalSnapshot snapshot = uri.isLocalFile()
                                        ? TakePortalSnapshot(uri.toLocalFile(), m_requested, ScreenshotFolders())
                                        : PortalSnapshot{{}, QStringLiteral("It is no local file.")};
    const QImage &layout = snapshot.image;
    if (layout.isNull()) {
        emit snapshotFailed(QStringLiteral("The desktop portal's screenshot could not be read."),
                            QStringLiteral("The portal gave \"%1\". %2").arg(uri.toString(), snapshot.problem));
        return;
    }
    QList<ScreenPicture> pictures;
    for (QScreen *screen : std::as_const(m_screens)) {
        const QRect part = ScreenRect(layout.size(), screen->geometry(), screen->virtualGeometry());
        if (part.isEmpty()) {
            emit snapshotFailed(QStringLiteral("The desktop portal's screenshot does not show every screen."),
                                QStringLiteral("The screenshot of %1 x %2 pixels has no part for the screen %3.")
                                    .arg(layout.width())
                                    .arg(layout.height())
                                    .arg(screen->name()));
            return;
        }
        pictures.append({screen, part == layout.rect() ? layout : layout.copy(part), part.topLeft(), false, {}});
    }
    deliver(pictures);
}

void PortalScreenService::abandon()
{
    const QString handle = m_handle;
    finish();
    // Tells the portal to stop, so that a late screenshot is not taken for nobody.
    m_bus.send(QDBusMessage::createMethodCall(PortalService, handle, RequestInterface, QStringLiteral("Close")));
    emit snapshotFailed(QStringLiteral("The desktop portal did not answer within %1 seconds, so the screen could "
                                       "not be read. Try again: the first screenshot after logging in can be slow.")
                            .arg(m_timeout.count() / 1000.0),
                        QStringLiteral("No Response on %1.").arg(handle));
}

void PortalScreenService::finish()
{
    m_deadline.stop();
    stopListening();
}

void PortalScreenService::stopListening()
{
    if (m_handle.isEmpty()) return;
    m_bus.disconnect(PortalService, m_handle, RequestInterface, QStringLiteral("Response"), this,
                     SLOT(onResponse(uint, QVariantMap, QDBusMessage)));
    m_handle.clear();
}

QRect PortalScreenService::ScreenRect(QSize layout, QRect screen, QRect desktop)
{
    if (layout.isEmpty() || desktop.isEmpty()) return {};
    const qreal scale = qreal(layout.width()) / desktop.width();
    const QPointF origin = QPointF(screen.topLeft() - desktop.topLeft()) * scale;
    return QRect(qRound(origin.x()), qRound(origin.y()), qRound(screen.width() * scale),
                 qRound(screen.height() * scale))
        .intersected(QRect(QPoint(0, 0), layout));
}
