// The registry operations through which the program keeps what it remembers. Each call opens the registry
// afresh, does one read or one write and closes it again; a write of several values is one transaction.
// None ever fails: a read that cannot be done gives the caller's default and a write that cannot be done
// has no effect, though what stopped it is noted for the user (CVStoreNotices). A read sets `unread`, when
// given, if the store itself could not be read: the default then stands for a value that may well be stored.
#pragma once

#include "RegistryHive.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace registry {
class RegistryBatch;
class TRegistry;
} // namespace registry

bool RegReadBool(registry::HKEY hive, const QString &key, const QString &name, bool defaultValue,
                 bool *unread = nullptr);
qint32 RegReadInteger(registry::HKEY hive, const QString &key, const QString &name, qint32 defaultValue,
                      bool *unread = nullptr);
QString RegReadString(registry::HKEY hive, const QString &key, const QString &name, const QString &defaultValue,
                      bool *unread = nullptr);

// The same reads of many values of one key over one opening of the store, as a start-up that reads them all
// wants: each read gives what RegReadBool, RegReadInteger or RegReadString would, and a store that cannot be
// read is noted once and leaves every read its default.
class TRegKeyReader
{
public:
    TRegKeyReader(registry::HKEY hive, const QString &key);
    ~TRegKeyReader();
    TRegKeyReader(const TRegKeyReader &) = delete;
    TRegKeyReader &operator=(const TRegKeyReader &) = delete;

    bool readBool(const QString &name, bool defaultValue);
    qint32 readInteger(const QString &name, qint32 defaultValue);
    QString readString(const QString &name, const QString &defaultValue);
    // The key's value names; none where the key is missing.
    QStringList valueNames();
    // Whether the store itself could not be read, so that a default may stand for a stored value.
    bool unread() const { return m_unread; }

private:
    template <typename T, typename Read> T ReadOr(T defaultValue, Read read);

    std::unique_ptr<registry::TRegistry> m_registry; // none where the key is missing or the store unreadable
    bool m_unread = false;
};

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
