#include "CVRegUtils.h"

#include "Registry.h"

namespace {
// Reads open the hive for reading only, so that a hive the user may read but not write still gives what
// it holds.
template <typename T, typename Read> T ReadOr(HKEY hive, const QString &key, T defaultValue, Read read)
{
    try {
        TRegistry registry(RegistryAccess::ReadOnly);
        registry.setRootKey(hive);
        if (registry.openKey(key, false)) return read(registry);
    } catch (...) {
        // Whatever cannot be read leaves the default; callers rely on getting an answer.
    }
    return defaultValue;
}

template <typename Write> void TryWrite(HKEY hive, const QString &key, Write write)
{
    try {
        TRegistry registry(RegistryAccess::ReadWrite);
        registry.setRootKey(hive);
        if (registry.openKey(key, true)) write(registry);
    } catch (...) {
        // A refused write is lost; the caller's values stay in force for the rest of the run.
    }
}
} // namespace

bool RegReadBool(HKEY hive, const QString &key, const QString &name, bool defaultValue)
{
    return ReadOr(hive, key, defaultValue, [&](TRegistry &registry) {
        return registry.valueExists(name) ? registry.readBool(name) : defaultValue;
    });
}

qint32 RegReadInteger(HKEY hive, const QString &key, const QString &name, qint32 defaultValue)
{
    return ReadOr(hive, key, defaultValue, [&](TRegistry &registry) {
        return registry.valueExists(name) ? registry.readInteger(name) : defaultValue;
    });
}

QStringList RegReadValueNames(HKEY hive, const QString &key, const QString &subkey, const QStringList &defaultList)
{
    // An empty subkey would name the key itself, whose values are not the list.
    if (subkey.isEmpty()) return defaultList;
    return ReadOr(hive, key, defaultList, [&](TRegistry &registry) {
        return registry.openKey(subkey, false) ? registry.valueNames() : defaultList;
    });
}

void RegWriteString(HKEY hive, const QString &key, const QString &name, const QString &text)
{
    TryWrite(hive, key, [&](TRegistry &registry) { registry.writeString(name, text); });
}

void RegWriteBool(HKEY hive, const QString &key, const QString &name, bool value)
{
    TryWrite(hive, key, [&](TRegistry &registry) { registry.writeBool(name, value); });
}

void RegWriteInteger(HKEY hive, const QString &key, const QString &name, qint32 number)
{
    TryWrite(hive, key, [&](TRegistry &registry) { registry.writeInteger(name, number); });
}

void RegWriteValueNames(HKEY hive, const QString &key, const QString &subkey, const QStringList &names)
{
    // Deleting an empty subkey would delete the key itself with everything under it.
    if (subkey.isEmpty()) return;
    TryWrite(hive, key, [&](TRegistry &registry) {
        const QString listKey = registry.currentPath() + u'\\' + subkey;
        RegistryBatch batch;
        batch.deleteKey(listKey);
        batch.createKey(listKey);
        for (const QString &name : names)
            batch.setValue(listKey, name, RegistryValue::fromString(QString()));
        registry.apply(batch);
    });
}
