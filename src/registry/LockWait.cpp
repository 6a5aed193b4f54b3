#include "LockWait.h"

#include <algorithm>

namespace registry {

BusyHives &knownBusyHives()
{
    static BusyHives hives;
    return hives;
}

int millisecondsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return int(std::max<qint64>(0, left.count()));
}

} // namespace registry
