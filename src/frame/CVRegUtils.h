// The registry operations through which the program keeps what it remembers. Each call opens the registry
// afresh, does one read or one write and closes it again; a write of several values is one transaction.
// None ever fails: a read that cannot be done gives the caller's default and a write that cannot be done
// has no effect, though what stopped it is noted for the user (CVStoreNotices). A read sets `unread`, when
// given, if the store itself could not be read: the default then stands for a value that may well be stored.
#pragma once

#include "RegistryHive.h"

#include <QString>
#include <QStringList>

class RegistryBatch;

bool RegReadBool(HKEY hive, const QString &key, const QString &name, bool defaultValue, bool *unread = nullptr);
qint32 RegReadInteger(HKEY hive, const QString &key, const QString &name, qint32 defaultValue, bool *unread = nullptr);
QString RegReadString(HKEY hive, const QString &key, const QString &name, const QString &defaultValue,
                      bool *unread = nullptr);
// The value names of key\subkey, in the order the registry lists them.
QStringList RegReadValueNames(HKEY hive, const QString &key, const QString &subkey, const QStringList &defaultList,
                              bool *unread = nullptr);

void RegWriteString(HKEY hive, const QString &key, const QString &name, const QString &text);
void RegWriteBool(HKEY hive, const QString &key, const QString &name, bool value);
void RegWriteInteger(HKEY hive, const QString &key, const QString &name, qint32 number);
// Replaces key\subkey by one holding a value per text, named by it, with empty string data; all at once.
void RegWriteValueNames(HKEY hive, const QString &key, const QString &subkey, const QStringList &names);
// Every change of the batch, all together or none; false when none could be written.
bool RegWriteBatch(HKEY hive, const RegistryBatch &batch);

// The changes that make listKey a key holding exactly one empty string value per name.
void AddValueNameList(RegistryBatch &batch, const QString &listKey, const QStringList &names);
