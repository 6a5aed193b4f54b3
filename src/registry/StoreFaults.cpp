#include "StoreFaults.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>

namespace registry {

QString errnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

RegistryFault faultOfErrno(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return RegistryFault::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
        return RegistryFault::ReadOnly;
    default:
        return RegistryFault::Other;
    }
}

RegistryFault faultOfResult(int resultCode, int systemError)
{
    switch (resultCode & 0xFF) {
    case SQLITE_FULL:
        return RegistryFault::DiskFull;
    case SQLITE_READONLY:
        return RegistryFault::ReadOnly;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return RegistryFault::Damaged;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return faultOfErrno(systemError);
    default:
        return RegistryFault::Other;
    }
}

} // namespace registry
