// The screen through the desktop portal (org.freedesktop.portal.Screenshot): on Wayland the one way a program
// may read the screen. The portal answers on a Request object's Response signal, which may come long after the
// call returned (a cold portal can take 25 s) or even before its reply, so the service listens first and waits
// a bounded time.
#pragma once

#include "ScreenService.h"

#include <QDateTime>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QTimer>

#include <chrono>

class QDBusError;

class PortalScreenService : public ScreenService
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds DefaultTimeout{30000};

    PortalScreenService(const QDBusConnection &bus, QObject *parent,
                        std::chrono::milliseconds timeout = DefaultTimeout);

    void requestSnapshot(const QList<QScreen *> &screens) override;

    // The part of `layout`, the size of a picture of the whole desktop `desktop`, that shows `screen`; both
    // rectangles in logical pixels, the result in the picture's pixels.
    static QRect ScreenRect(QSize layout, QRect screen, QRect desktop);

private slots:
    // Connected by name through QDBusConnection::connect, hence a slot.
    void onResponse(uint code, const QVariantMap &results, const QDBusMessage &message);

private:
    void listen(const QString &handle);
    void onReply(const QString &handle);
    void onCallError(const QDBusError &error);
    void abandon();
    void finish();
    void stopListening();
    void readLayout(const QVariantMap &results);

    QDBusConnection m_bus;
    std::chrono::milliseconds m_timeout;
    QTimer m_deadline;
    QList<QScreen *> m_screens; // those the pending request is for
    QString m_handle;           // the request listened to; empty when none is pending
    quint64 m_request = 0;
    QDateTime m_requested; // when the pending request was made
};
