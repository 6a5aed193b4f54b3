#include "WaylandWorkarounds.h"

#include "SessionType.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

// Both faults were seen with Qt 6.4; a later Qt is taken to have neither until it shows otherwise.
constexpr bool QtHasTheWaylandFaults = QT_VERSION < QT_VERSION_CHECK(6, 5, 0);

int finishProcess(int status)
{
    if (!QtHasTheWaylandFaults || !isWaylandPlatform()) return status;
    QGuiApplication::sync(); // what the windows last asked of the compositor (hidden, unmapped) is done
    std::fflush(nullptr);
    std::_Exit(status);
}

bool waylandWindowsOutliveTheirFrames()
{
    return QtHasTheWaylandFaults && isWaylandPlatform();
}
