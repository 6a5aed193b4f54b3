#include "KWinScreenService.h"

#include "PortalScreenService.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QScreen>

#include <cerrno>
#include <chrono>
#include <optional>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {
constexpr std::chrono::milliseconds PixelWait(5000); // for the next bytes of the picture, once KWin has answered

// The picture KWin writes into the pipe after its answer, as the answer describes it; nothing when the pipe
// ends early or stays silent.
std::optional<QImage> ReadPicture(int pipe, const QVariantMap &results)
{
    const int width = results.value(QStringLiteral("width")).toInt();
    const int height = results.value(QStringLiteral("height")).toInt();
    const qsizetype stride = results.value(QStringLiteral("stride")).toLongLong();
    const auto format = QImage::Format(results.value(QStringLiteral("format")).toInt());
    if (results.value(QStringLiteral("type")).toString() != QLatin1String("raw") || width <= 0 || height <= 0 ||
        format <= QImage::Format_Invalid || format >= QImage::NImageFormats)
        return std::nullopt;
    QImage picture(width, height, format);
    if (picture.isNull() || stride < picture.bytesPerLine()) return std::nullopt;
    QByteArray bytes(stride * height, Qt::Uninitialized);
    for (qsizetype done = 0; done < bytes.size();) {
        pollfd ready{pipe, POLLIN, 0};
        if (::poll(&ready, 1, int(PixelWait.count())) <= 0) return std::nullopt;
        const ssize_t got = ::read(pipe, bytes.data() + done, size_t(bytes.size() - done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return std::nullopt;
        done += got;
    }
    for (int row = 0; row < height; ++row)
        std::copy_n(bytes.constData() + row * stride, picture.bytesPerLine(), picture.scanLine(row));
    return picture;
}
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
    m_pictures.clear();
    ++m_request;
    capture(0);
}

void KWinScreenService::capture(qsizetype index)
{
    if (index == m_screens.size()) {
        deliver(m_pictures);
        return;
    }
    int ends[2];
    if (!m_bus.isConnected() || ::pipe2(ends, O_CLOEXEC) != 0) {
        fallBack();
        return;
    }
    QScreen *screen = m_screens[index];
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.KWin.ScreenShot2"), QStringLiteral("/org/kde/KWin/ScreenShot2"),
        QStringLiteral("org.kde.KWin.ScreenShot2"), QStringLiteral("CaptureScreen"));
    call << screen->name()
         << QVariantMap{{QStringLiteral("include-cursor"), false}, {QStringLiteral("native-resolution"), true}}
         << QVariant::fromValue(QDBusUnixFileDescriptor(ends[1]));
    ::close(ends[1]); // the message holds a copy of its own
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, index, screen, pipe = ends[0], request = m_request](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                const QDBusPendingReply<QVariantMap> reply = *finished;
                std::optional<QImage> picture;
                if (request == m_request && !reply.isError()) picture = ReadPicture(pipe, reply.value());
                ::close(pipe);
                if (request != m_request) return;
                if (!picture) {
                    fallBack();
                    return;
                }
                picture->setDevicePixelRatio(1);
                m_pictures.append({screen, *picture, screen->geometry().topLeft(), false, {}});
                capture(index + 1);
            });
}

void KWinScreenService::fallBack()
{
    m_portal->requestSnapshot(m_screens);
}
