#include "HiveFiles.h"

#include "RegistryStore.h"
#include "StoreFaults.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

namespace {
// The first of "<file>.damaged-<time>", "...-1", ... that names no file yet, together with its log and index.
QString freeKeptName(const QString &filePath)
{
    const QString base = filePath + QStringLiteral(".damaged-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd'T'HHmmss"));
    for (int n = 0;; ++n) {
        const QString name = n == 0 ? base : base + u'-' + QString::number(n);
        if (!QFileInfo::exists(name) && !QFileInfo::exists(name + "-wal") && !QFileInfo::exists(name + "-shm"))
            return name;
    }
}

} // namespace

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

std::optional<DamagedHive> setDamagedHiveAside(const QString &filePath)
{
    QString damage = whatIsInTheWay(filePath);
    if (!damage.isEmpty()) {
        damage = QStringLiteral("%1 stands where the settings file belongs").arg(damage);
    } else {
        try {
            RegistryStore(filePath, RegistryAccess::ReadOnly).verifyIntact();
            return std::nullopt;
        } catch (const RegistryStoreError &error) {
            if (error.fault() != RegistryFault::Damaged) return std::nullopt;
            damage = error.message();
        }
    }
    const QString keptAs = freeKeptName(filePath);
    // The log and its index go first: left behind, they would be taken for those of the next hive.
    for (const char *suffix : {"-wal", "-shm"})
        if (QFileInfo::exists(filePath + QLatin1String(suffix)))
            renameWithoutReplacing(filePath + QLatin1String(suffix), keptAs + QLatin1String(suffix));
    if (!renameWithoutReplacing(filePath, keptAs)) {
        if (errno == ENOENT) return std::nullopt; // another copy of the program moved it a moment ago
        throw RegistryStoreError(QStringLiteral("%1; it cannot be moved aside: %2").arg(damage, errnoText(errno)),
                                 RegistryFault::Damaged, filePath);
    }
    return DamagedHive{keptAs, damage};
}
