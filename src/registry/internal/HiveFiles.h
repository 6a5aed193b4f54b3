// The hive's file as the system sees it: private folders, renames that never replace a file, a folder made
// durable, and what stands in a file's place. Plain POSIX calls, for the store's own parts.
#pragma once

#include <QByteArray>
#include <QString>

namespace registry {

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

} // namespace registry
