#include "PortalSnapshotFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A screenshot of several large screens stays well below this; a bigger file is no snapshot of ours.
constexpr qint64 LargestSnapshot = qint64(512) << 20;

// Owns a file descriptor.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

QString SystemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

bool SameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether `folder` (as opened) is one of `folders`, compared as the files they are.
bool IsScreenshotFolder(int folder, const QStringList &folders)
{
    struct stat opened = {};
    if (::fstat(folder, &opened) != 0) return false;
    for (const QString &candidate : folders) {
        struct stat known = {};
        if (::stat(QFile::encodeName(candidate).constData(), &known) == 0 && SameFile(opened, known)) return true;
    }
    return false;
}

// Reads the whole of an open regular file of a bounded size.
std::optional<QByteArray> ReadAll(int fd, qint64 size)
{
    QByteArray data;
    data.resize(size);
    qint64 done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, data.data() + done, size_t(size - done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return std::nullopt;
        done += got;
    }
    return data;
}

// The snapshot goes once it has been read, so that no capture leaves a full picture of the screen among the
// user's files; only the very file read is removed, and only where screenshots are kept. One that cannot be
// removed is told of once.
void RemoveSnapshot(int folder, const QByteArray &name, const struct stat &read, const QStringList &folders)
{
    static bool told = false;
    struct stat now = {};
    if (!IsScreenshotFolder(folder, folders) || ::fstatat(folder, name.constData(), &now, AT_SYMLINK_NOFOLLOW) != 0 ||
        !SameFile(now, read))
        return;
    if (::unlinkat(folder, name.constData(), 0) == 0 || std::exchange(told, true)) return;
    std::fprintf(stderr, "tintwell: the desktop's screenshot %s could not be removed: %s\n", name.constData(),
                 std::strerror(errno));
}

} // namespace

PortalSnapshot TakePortalSnapshot(const QString &path, const QDateTime &requested, const QStringList &folders)
{
    const QFileInfo info(path);
    const QByteArray name = QFile::encodeName(info.fileName());
    if (!info.isAbsolute() || name.isEmpty()) return {{}, QStringLiteral("It names no file.")};
    const Descriptor folder(
        ::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) return {{}, SystemError("Its folder cannot be opened")};
    // Looked at before it is opened: opening a FIFO would wait for a writer.
    struct stat before = {};
    if (::fstatat(folder.get(), name.constData(), &before, AT_SYMLINK_NOFOLLOW) != 0)
        return {{}, SystemError("It cannot be read")};
    if (!S_ISREG(before.st_mode)) return {{}, QStringLiteral("It is not a regular file.")};
    const Descriptor file(::openat(folder.get(), name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat opened = {};
    if (file.get() < 0 || ::fstat(file.get(), &opened) != 0) return {{}, SystemError("It cannot be read")};
    if (!S_ISREG(opened.st_mode) || !SameFile(before, opened)) return {{}, QStringLiteral("It is not a regular file.")};
    if (opened.st_size > LargestSnapshot) return {{}, QStringLiteral("It is too large for a screenshot.")};
    const std::optional<QByteArray> data = ReadAll(file.get(), opened.st_size);
    if (!data) return {{}, SystemError("It cannot be read")};
    QImage image = QImage::fromData(*data);
    if (image.isNull()) return {{}, QStringLiteral("It is no picture.")};
    // Written for this request (a second's slack for coarse file times) by this user: then it is ours to remove.
    const QDateTime modified = QDateTime::fromSecsSinceEpoch(opened.st_mtim.tv_sec);
    if (opened.st_uid == ::getuid() && modified >= requested.addSecs(-1))
        RemoveSnapshot(folder.get(), name, opened, folders);
    return {std::move(image), {}};
}

QStringList ScreenshotFolders()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return {pictures, pictures + QStringLiteral("/Screenshots"), QDir::homePath(), QStringLiteral("/tmp")};
}
