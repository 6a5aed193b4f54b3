#include "KWinScreenService.h"

#include "PortalScreenService.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QPointer>
#include <QScreen>
#include <QThreadPool>

#include <cerrno>
#include <chrono>
#include <memory>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {
constexpr std::chrono::milliseconds PixelWait(5000); // for the next bytes of the picture, once KWin has answered
// No screen's picture is larger: 16384 pixels square at four bytes. A row may carry a little padding beyond its
// pixels, no more.
constexpr qint64 MostPictureBytes = qint64(16384) * 16384 * 4;
constexpr qsizetype MostRowPadding = 256;

// The read end of a pipe, closed with its last owner, whichever that is: the service, or the read under way.
struct PipeEnd
{
    explicit PipeEnd(int descriptor) : fd(descriptor) {}
    ~PipeEnd() { ::close(fd); }
    PipeEnd(const PipeEnd &) = delete;
    PipeEnd &operator=(const PipeEnd &) = delete;
    const int fd;
};

// The picture KWin writes into the pipe after its answer, as the answer describes it; nothing when the answer
// describes no picture this could hold, or the pipe ends early or stays silent.
std::optional<QImage> ReadPicture(int pipe, const QVariantMap &results)
{
    const int width = results.value(QStringLiteral("width")).toInt();
    const int height = results.value(QStringLiteral("height")).toInt();
    const qint64 stride = results.value(QStringLiteral("stride")).toLongLong();
    const auto format = QImage::Format(results.value(QStringLiteral("format")).toInt());
    if (results.value(QStringLiteral("type")).toString() != QLatin1String("raw") || width <= 0 || height <= 0 ||
        format <= QImage::Format_Invalid || format >= QImage::NImageFormats)
        return std::nullopt;
    if (stride <= 0 || stride * height > MostPictureBytes) return std::nullopt;
    QImage picture(width, height, format);
    if (picture.isNull() || stride < picture.bytesPerLine() || stride > picture.bytesPerLine() + MostRowPadding)
        return std::nullopt;
    QByteArray bytes(qsizetype(stride * height), Qt::Uninitialized);
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
                // Up to a screen's worth of bytes, with waits: not on the window's thread.
                QThreadPool::globalInstance()->start(
                    [self = QPointer(this), request, index, pipe, results = reply.value()] {
                        std::optional<QImage> picture = ReadPicture(pipe->fd, results);
                        QMetaObject::invokeMethod(
                            self.data(),
                            [self, request, index, picture = std::move(picture)] {
                                if (self) self->received(request, index, picture);
                            },
                            Qt::QueuedConnection);
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
