// A hive that is damaged, or something that is no file in its place, set aside so that the next write makes a
// fresh one: the store's policy for damage, above the store itself and its files.
#pragma once

#include <QString>

#include <optional>

namespace registry {

struct DamagedHive
{
    QString keptAs; // where it is now
    QString damage; // what was wrong with it
};

// When the hive's file is damaged, or a folder or a link to nothing stands in its place, renames it with its
// -wal and -shm files to "<file>.damaged-<local time>" in the same folder, never replacing a file, and tells
// where and why; the next write makes a fresh hive. A sound hive, another program's database, a missing file
// or one that cannot be checked now stays as it is. Raises the Damaged fault when it cannot be moved.
std::optional<DamagedHive> setDamagedHiveAside(const QString &filePath);

} // namespace registry
