#include "HiveFiles.h"

#include "StoreFaults.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace registry {

QByteArray fileName(const QString &path)
{
    return QFile::encodeName(path);
}

bool isWritable(const QString &path)
{
    return ::access(fileName(path).constData(), W_OK) == 0;
}

bool makePrivateDirectory(const QString &path)
{
    if (QFileInfo(path).isDir()) return true;
    return makePrivateDirectory(QFileInfo(path).absolutePath()) &&
           (::mkdir(fileName(path).constData(), S_IRWXU) == 0 || errno == EEXIST);
}

void syncFolder(const QString &path)
{
    const int folder = ::open(fileName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;
    ::fsync(folder);
    ::close(folder);
}

bool renameWithoutReplacing(const QString &from, const QString &to)
{
    const QByteArray source = fileName(from), target = fileName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    if (::link(source.constData(), target.constData()) != 0) return false;
    ::unlink(source.constData());
    return true;
}

QString whatIsInTheWay(const QString &filePath)
{
    struct stat place = {};
    if (::lstat(fileName(filePath).constData(), &place) != 0) return {};
    struct stat target = place;
    if (S_ISLNK(place.st_mode) && ::stat(fileName(filePath).constData(), &target) != 0)
        return QStringLiteral("a link to nothing (%1)").arg(errnoText(errno));
    if (S_ISDIR(target.st_mode)) return QStringLiteral("a folder");
    if (S_ISFIFO(target.st_mode)) return QStringLiteral("a FIFO");
    if (S_ISSOCK(target.st_mode)) return QStringLiteral("a socket");
    if (!S_ISREG(target.st_mode)) return QStringLiteral("a device");
    return {};
}

} // namespace registry
