// The hive's file as the system sees it: private folders, renames that never replace a file, a folder made
// durable, and a damaged hive set aside.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

QByteArray fileName(const QString &path);
bool isWritable(const QString &path);
// The hive's folders are private to the user, like the files in them. Leaves errno set on failure.
bool makePrivateDirectory(const QString &path);
// So that a hive just linked into place is still there after a power cut.
void syncFolder(const QString &path);
// Never replaces a file: fails with EEXIST when the name is taken. A rename, which is allowed where a hard link
// is refused (a file of another user in the user's own folder, or a file system without links, as on a FAT
// stick); a link and an unlink only where the file system knows no such rename. Leaves errno set on failure.
bool renameWithoutReplacing(const QString &from, const QString &to);

// What stands in the hive's place that is no file at all (a folder, a FIFO, a link to nothing); empty for a
// file, a link to one or nothing.
QString whatIsInTheWay(const QString &filePath);

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
