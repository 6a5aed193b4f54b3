#include "PaletteFile.h"

#include "GimpPalette.h"
#include "SwatchExchange.h"
#include "WebPalette.h"
#include "WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

struct FormatInfo
{
    const char *extension;
    const char *filter;
    Palette (*read)(const QByteArray &bytes); // none for a format that is only written
    QByteArray (*write)(const Palette &palette);
};

constexpr FormatInfo Formats[] = {
    {"gpl", "GIMP palette (*.gpl)", ReadGimpPalette, WriteGimpPalette},
    {"ase", "Adobe Swatch Exchange (*.ase)", ReadSwatchExchange, WriteSwatchExchange},
    {"css", "CSS custom properties (*.css)", nullptr, WriteCssPalette},
    {"json", "Design tokens (*.json)", nullptr, WriteDesignTokens},
};

const FormatInfo *FormatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    for (const FormatInfo &info : Formats)
        if (suffix.compare(QLatin1String(info.extension), Qt::CaseInsensitive) == 0) return &info;
    return nullptr;
}

QString SystemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QByteArray ReadWhole(const QString &path)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) throw PaletteError(QStringLiteral("it could not be opened: %1").arg(SystemError(errno)));
    const auto closeIt = qScopeGuard([descriptor] { ::close(descriptor); });
    struct stat status = {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        throw PaletteError(QStringLiteral("not a regular file"));
    }
    if (status.st_size > MaxFileSize) {
        throw PaletteError(QStringLiteral("larger than 16 MiB, more than any palette"));
    }
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t read = ::read(descriptor, buffer, sizeof buffer);
        if (read < 0 && errno == EINTR) continue;
        if (read < 0) {
            const int error = errno;
            throw PaletteError(QStringLiteral("it could not be read: %1").arg(SystemError(error)));
        }
        if (read == 0) break;
        bytes.append(buffer, read);
        if (bytes.size() > MaxFileSize) {
            throw PaletteError(QStringLiteral("larger than 16 MiB, more than any palette"));
        }
    }
    return bytes;
}

} // namespace

bool IsPaletteFileName(const QString &path)
{
    return FormatOf(path) != nullptr;
}

QStringList PaletteFilters(bool readable)
{
    QStringList filters;
    for (const FormatInfo &info : Formats)
        if (info.read || !readable) filters.append(QLatin1String(info.filter));
    return filters;
}

QString ExtensionOfFilter(const QString &filter)
{
    for (const FormatInfo &info : Formats)
        if (filter == QLatin1String(info.filter)) return QLatin1String(info.extension);
    return {};
}

Palette LoadPaletteFile(const QString &path)
{
    const FormatInfo *format = FormatOf(path);
    if (!format || !format->read) throw PaletteError(QStringLiteral("palettes are read from .gpl and .ase files"));
    return format->read(ReadWhole(path));
}

void SavePaletteFile(const QString &path, const Palette &palette)
{
    const FormatInfo *format = FormatOf(path);
    if (!format) throw PaletteError(QStringLiteral("a palette file's name ends in .gpl, .ase, .css or .json"));
    const QByteArray bytes = format->write(palette);
    if (const QString failure = files::WriteWhole(path, bytes); !failure.isEmpty()) throw PaletteError(failure);
}
