// registry_writer KEY PREFIX COUNT: writes the REG_DWORD values PREFIX0 .. PREFIX<COUNT-1> = index under
// HKEY_LOCAL_MACHINE\KEY, each through a fresh accessor as the program's own writes are, and prints each
// index once its write has returned. Exit code 1 with the error on stderr when a write fails.
// registry_writer hold KEY NAME NUMBER: writes the REG_DWORD value NAME = NUMBER there and keeps its
// connection open until it is killed, so that the commit stays in the write-ahead log, as a writer killed
// before its checkpoint leaves it; prints "holding" once written.
// registry_writer lock: takes the HKEY_LOCAL_MACHINE hive's write lock and keeps it until killed, as
// another program in the middle of a long write does; prints "locked" once it has it.
// registry_writer exclusive: writes to that hive in SQLite's exclusive locking mode, which keeps every other
// connection out, readers too, until killed; prints "locked" once it holds the hive.
#include "Registry.h"

#include <QFile>
#include <QString>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

using namespace registry;

namespace {
[[noreturn]] void WaitToBeKilled(const char *state)
{
    std::printf("%s\n", state);
    std::fflush(stdout);
    for (;;)
        pause();
}

int HoldWriteLock()
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(QFile::encodeName(hiveFilePath(HKEY_LOCAL_MACHINE)).constData(), &db) != SQLITE_OK ||
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
        return 1;
    }
    WaitToBeKilled("locked");
}

int HoldExclusively()
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(QFile::encodeName(hiveFilePath(HKEY_LOCAL_MACHINE)).constData(), &db) != SQLITE_OK ||
        sqlite3_exec(db, "PRAGMA locking_mode = EXCLUSIVE; UPDATE keys SET name = name WHERE id = 1", nullptr, nullptr,
                     nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
        return 1;
    }
    WaitToBeKilled("locked");
}

int HoldWrittenValue(const QString &key, const QString &name, int number)
{
    TRegistry registry;
    registry.setRootKey(HKEY_LOCAL_MACHINE);
    registry.createKey(key);
    registry.openKey(key, false);
    registry.writeInteger(name, number);
    WaitToBeKilled("holding");
}

int WriteNumberedValues(const QString &key, const QString &prefix, int count)
{
    for (int i = 0; i < count; ++i) {
        TRegistry registry;
        registry.setRootKey(HKEY_LOCAL_MACHINE);
        registry.createKey(key);
        registry.openKey(key, false);
        registry.writeInteger(prefix + QString::number(i), i);
        std::printf("%d\n", i);
        std::fflush(stdout);
    }
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    const auto argument = [&](int i) { return QString::fromLocal8Bit(argv[i]); };
    try {
        if (argc == 2 && std::strcmp(argv[1], "lock") == 0) return HoldWriteLock();
        if (argc == 2 && std::strcmp(argv[1], "exclusive") == 0) return HoldExclusively();
        if (argc == 5 && std::strcmp(argv[1], "hold") == 0)
            return HoldWrittenValue(argument(2), argument(3), std::atoi(argv[4]));
        if (argc == 4) return WriteNumberedValues(argument(1), argument(2), std::atoi(argv[3]));
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 2;
}
