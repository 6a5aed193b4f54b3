// What the system's and SQLite's error codes mean for the store: which RegistryFault a failure is.
#pragma once

#include "StoreErrors.h"

#include <QString>

namespace registry {

QString errnoText(int error);
RegistryFault faultOfErrno(int error);
// SQLite often reports a full disk met while it writes the log or maps its index as an I/O error; the
// system's own error number tells the two apart.
RegistryFault faultOfResult(int resultCode, int systemError);

} // namespace registry
