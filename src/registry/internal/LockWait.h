// Waiting for another program's lock on a hive: for a bounded time, and not again for a hive found held
// until it has been got again.
#pragma once

#include "StoreErrors.h"

#include <QMutex>
#include <QSet>
#include <QString>

#include <chrono>
#include <thread>

namespace registry {

using Clock = std::chrono::steady_clock;

// How long a read or a write waits for another program's lock. A copy of this program holds the write lock for
// a millisecond or so, and never one that keeps readers out; whoever holds a lock longer is not letting go
// soon, and neither the start nor the exit must hang on it.
constexpr std::chrono::milliseconds LockWait(2000);

// Another connection holds a lock: the write lock past the wait, or one that SQLite's busy handler does
// not wait for (while a closing connection cleans up the write-ahead log, while one recovers it, or while
// a new hive is set up).
class BusyError : public RegistryStoreError
{
public:
    BusyError(const QString &message, const QString &filePath)
        : RegistryStoreError(message, RegistryFault::Busy, filePath)
    {
    }
};

// Hives a read or a write found held past the wait. Until one succeeds again, the next ones try once and do not
// wait: a program that reads or writes several times in a row, as at its start and its exit, waits only once.
class BusyHives
{
public:
    bool contains(const QString &path)
    {
        const QMutexLocker lock(&m_mutex);
        return m_paths.contains(path);
    }
    void mark(const QString &path, bool busy)
    {
        const QMutexLocker lock(&m_mutex);
        if (busy)
            m_paths.insert(path);
        else
            m_paths.remove(path);
    }

private:
    QMutex m_mutex;
    QSet<QString> m_paths;
};

BusyHives &knownBusyHives();

// Runs work again, from the start of its transaction, while another copy of the program holds the hive
// briefly; gives up with the busy error once the deadline has passed.
template <typename Work> auto retryWhileBusy(Clock::time_point deadline, Work work) -> decltype(work())
{
    for (;;) {
        try {
            return work();
        } catch (const BusyError &) {
            if (Clock::now() >= deadline) throw;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
}

int millisecondsLeft(Clock::time_point deadline);

} // namespace registry
