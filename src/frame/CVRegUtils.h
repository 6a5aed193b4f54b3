// The registry operations through which the program keeps what it remembers. Each call opens the registry
// afresh, does one read or one write and closes it again; a write of several values is one transaction.
// None ever fails: a read that cannot be done gives the caller's default and a write that cannot be done
// has no effect, though what stopped it is noted for the user (CVStoreNotices). A read sets `unread`, when
// given, if the store itself could not be read: the default then stands for a value that may well be stored.
#pragma once

#include "RegistryHive.h"

#include <QString>
#include <QStringList>

namespace registry {
class RegistryBatch;
}

bool RegReadBool(registry::HKEY hive, const QString &key, const QString &name, bool defaultValue,
                 bool *unread = nullptr);
qint32 RegReadInteger(registry::HKEY hive, const QString &key, const QString &name, qint32 defaultValue,
                      bool *unread = nullptr);
QString RegReadString(registry::HKEY hive, const QString &key, const QString &name, const QString &defaultValue,
                      bool *unread = nullptr);
// The value names of key\subkey, in the order the registry lists them.
QStringList RegReadValueNames(registry::HKEY hive, const QString &key, const QString &subkey,
                              const QStringList &defaultList, bool *unread = nullptr);

void RegWriteString(registry::HKEY hive, const QString &key, const QString &name, const QString &text);
void RegWriteBool(registry::HKEY hive, const QString &key, const QString &name, bool value);
void RegWriteInteger(registry::HKEY hive, const QString &key, const QString &name, qint32 number);
// Replaces key\subkey by one holding a value per text, named by it, with empty string data; all at once.
void RegWriteValueNames(registry::HKEY hive, const QString &key, const QString &subkey, const QStringList &names);
// Every change of the batch, all together or none; false when none could be written.
bool RegWriteBatch(registry::HKEY hive, const registry::RegistryBatch &batch);

// The changes that make listKey a key holding exactly one empty string value per name.
void AddValueNameList(registry::RegistryBatch &batch, const QString &listKey, const QStringList &names);
