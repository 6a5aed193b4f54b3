#include "KWinScreenService.h"

#include "KWinPicture.h"
#include "PortalScreenService.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QFutureWatcher>
#include <QPromise>
#include <QScreen>
#include <QThreadPool>

#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace {
// The read end of a pipe, closed with its last owner, whichever that is: the service, or the read under way.
struct PipeEnd
{
    explicit PipeEnd(int descriptor) : fd(descriptor) {}
    ~PipeEnd() { ::close(fd); }
    PipeEnd(const PipeEnd &) = delete;
    PipeEnd &operator=(const PipeEnd &) = delete;
    const int fd;
};

} // namespace

KWinScreenService::KWinScreenService(const QDBusConnection &bus, QObject *parent)
    : ScreenService(parent), m_bus(bus), m_portal(new PortalScreenService(bus, this))
{
    connect(m_portal, &ScreenService::snapshotReady, this, [this](QList<ScreenPicture> pictures) {
        for (ScreenPicture &picture : pictures)
            picture.mayShowPointer = true;
        emit snapshotReady(pictures);
    });
    connect(m_portal, &ScreenService::snapshotCancelled, this, &ScreenService::snapshotCancelled);
    connect(m_portal, &ScreenService::snapshotFailed, this, &ScreenService::snapshotFailed);
}

void KWinScreenService::requestSnapshot(const QList<QScreen *> &screens)
{
    m_screens = screens;
    m_pictures = QList<std::optional<QImage>>(screens.size());
    m_waiting = screens.size();
    ++m_request;
    if (!m_bus.isConnected()) {
        fallBack();
        return;
    }
    for (qsizetype index = 0; index < screens.size() && m_waiting > 0; ++index)
        capture(index);
}

void KWinScreenService::capture(qsizetype index)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        received(m_request, index, std::nullopt);
        return;
    }
    const auto pipe = std::make_shared<PipeEnd>(ends[0]);
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.KWin.ScreenShot2"), QStringLiteral("/org/kde/KWin/ScreenShot2"),
        QStringLiteral("org.kde.KWin.ScreenShot2"), QStringLiteral("CaptureScreen"));
    call << m_screens[index]->name()
         << QVariantMap{{QStringLiteral("include-cursor"), false}, {QStringLiteral("native-resolution"), true}}
         << QVariant::fromValue(QDBusUnixFileDescriptor(ends[1]));
    ::close(ends[1]); // the message holds a copy of its own
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, index, pipe, request = m_request](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                const QDBusPendingReply<QVariantMap> reply = *finished;
                if (request != m_request) return;
                if (reply.isError()) {
                    received(request, index, std::nullopt);
                    return;
                }
                // Up to a screen's worth of bytes, with waits: not on the window's thread. The picture comes back
                // through a watcher the service owns, which goes with it: a late read reaches nothing.
                auto promise = std::make_shared<QPromise<std::optional<QImage>>>();
                auto *read = new QFutureWatcher<std::optional<QImage>>(this);
                connect(read, &QFutureWatcherBase::finished, this, [this, read, request, index] {
                    read->deleteLater();
                    received(request, index, read->future().resultCount() ? read->result() : std::nullopt);
                });
                read->setFuture(promise->future());
                QThreadPool::globalInstance()->start([promise, pipe, results = reply.value()] {
                    promise->start();
                    promise->addResult(ReadKWinPicture(pipe->fd, results));
                    promise->finish();
                });
            });
}

void KWinScreenService::received(quint64 request, qsizetype index, std::optional<QImage> picture)
{
    if (request != m_request || m_waiting == 0) return;
    if (!picture) {
        m_waiting = 0;
        ++m_request; // the other screens' answers are not waited for
        fallBack();
        return;
    }
    picture->setDevicePixelRatio(1);
    m_pictures[index] = std::move(picture);
    if (--m_waiting > 0) return;
    QList<ScreenPicture> pictures;
    for (qsizetype i = 0; i < m_screens.size(); ++i)
        pictures.append({m_screens[i], *m_pictures[i], m_screens[i]->geometry().topLeft(), false, {}});
    m_pictures.clear();
    deliver(pictures);
}

void KWinScreenService::fallBack()
{
    m_portal->requestSnapshot(m_screens);
}
