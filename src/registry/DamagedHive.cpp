#include "DamagedHive.h"

#include "HiveFiles.h"
#include "RegistryStore.h"
#include "StoreFaults.h"

#include <QDateTime>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>

namespace registry {

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
    // The log and its index go first: left behind, they would be taken for those of the next hive. What cannot
    // be moved with the others leaves all three where they were.
    QStringList moved;
    const auto putBack = [&] {
        for (const QString &suffix : moved)
            renameWithoutReplacing(keptAs + suffix, filePath + suffix);
    };
    const auto cannotMove = [&](int error) {
        return RegistryStoreError(QStringLiteral("%1; it cannot be moved aside: %2").arg(damage, errnoText(error)),
                                  RegistryFault::Damaged, filePath);
    };
    for (const QString &suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (renameWithoutReplacing(filePath + suffix, keptAs + suffix)) {
            moved.append(suffix);
        } else if (errno != ENOENT) {
            const int error = errno;
            putBack();
            throw cannotMove(error);
        }
    }
    if (!renameWithoutReplacing(filePath, keptAs)) {
        const int error = errno;
        putBack();
        if (error == ENOENT) return std::nullopt; // another copy of the program moved it a moment ago
        throw cannotMove(error);
    }
    return DamagedHive{keptAs, damage};
}

} // namespace registry
