#include "KWinPicture.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

#include <poll.h>
#include <unistd.h>

namespace {
constexpr std::chrono::milliseconds PixelWait(5000); // for the next bytes of the picture, once KWin has answered
// No screen's picture is larger: 16384 pixels square at four bytes. A row may carry a little padding beyond its
// pixels, no more.
constexpr qint64 MostPictureBytes = qint64(16384) * 16384 * 4;
constexpr qsizetype MostRowPadding = 256;
} // namespace

std::optional<QImage> ReadKWinPicture(int pipe, const QVariantMap &results)
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
