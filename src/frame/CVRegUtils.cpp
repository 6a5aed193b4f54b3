#include "CVRegUtils.h"

#include "CVStoreNotices.h"
#include "Registry.h"

using namespace registry;

namespace {
// Reads open the hive for reading only, so that a hive the user may read but not write still gives what
// it holds.
template <typename T, typename Read> T ReadOr(HKEY hive, const QString &key, T defaultValue, bool *unread, Read read)
{
    try {
        TRegistry registry(RegistryAccess::ReadOnly);
        registry.setRootKey(hive);
        if (registry.openKey(key, false)) return read(registry);
    } catch (const RegistryStoreError &error) {
        NoteStoreFailure(error, StoreUse::Reading);
        if (unread) *unread = true;
    } catch (...) {
        // A value of another type leaves the default too; callers rely on getting an answer.
    }
    return defaultValue;
}

void WriteOne(HKEY hive, const QString &key, const QString &name, const RegistryValue &value)
{
    RegistryBatch batch;
    batch.setValue(key, name, value);
    RegWriteBatch(hive, batch);
}
} // namespace

namespace {
// One value over a reader of its own; the reader's trouble with the store is told through `unread`.
template <typename T, typename Read> T ReadOne(HKEY hive, const QString &key, bool *unread, Read read)
{
    TRegKeyReader reader(hive, key);
    const T value = read(reader);
    if (unread && reader.unread()) *unread = true;
    return value;
}
} // namespace

bool RegReadBool(HKEY hive, const QString &key, const QString &name, bool defaultValue, bool *unread)
{
    return ReadOne<bool>(hive, key, unread, [&](TRegKeyReader &reader) { return reader.readBool(name, defaultValue); });
}

qint32 RegReadInteger(HKEY hive, const QString &key, const QString &name, qint32 defaultValue, bool *unread)
{
    return ReadOne<qint32>(hive, key, unread,
                           [&](TRegKeyReader &reader) { return reader.readInteger(name, defaultValue); });
}

QString RegReadString(HKEY hive, const QString &key, const QString &name, const QString &defaultValue, bool *unread)
{
    return ReadOne<QString>(hive, key, unread,
                            [&](TRegKeyReader &reader) { return reader.readString(name, defaultValue); });
}

TRegKeyReader::TRegKeyReader(HKEY hive, const QString &key)
{
    try {
        m_registry = std::make_unique<TRegistry>(RegistryAccess::ReadOnly);
        m_registry->setRootKey(hive);
        if (!m_registry->openKey(key, false)) m_registry.reset();
    } catch (const RegistryStoreError &error) {
        NoteStoreFailure(error, StoreUse::Reading);
        m_registry.reset();
        m_unread = true;
    } catch (...) {
        m_registry.reset(); // every read gives its default: callers rely on getting an answer
    }
}

TRegKeyReader::~TRegKeyReader() = default;

template <typename T, typename Read> T TRegKeyReader::ReadOr(T defaultValue, Read read)
{
    if (!m_registry) return defaultValue;
    try {
        return read(*m_registry);
    } catch (const RegistryStoreError &error) {
        // The store failed under the reads: the rest keep their defaults too.
        NoteStoreFailure(error, StoreUse::Reading);
        m_registry.reset();
        m_unread = true;
    } catch (...) {
        // A value of another type leaves the default.
    }
    return defaultValue;
}

bool TRegKeyReader::readBool(const QString &name, bool defaultValue)
{
    return ReadOr(defaultValue, [&](TRegistry &registry) {
        return registry.valueExists(name) ? registry.readBool(name) : defaultValue;
    });
}

qint32 TRegKeyReader::readInteger(const QString &name, qint32 defaultValue)
{
    return ReadOr(defaultValue, [&](TRegistry &registry) {
        return registry.valueExists(name) ? registry.readInteger(name) : defaultValue;
    });
}

QString TRegKeyReader::readString(const QString &name, const QString &defaultValue)
{
    return ReadOr(defaultValue, [&](TRegistry &registry) {
        return registry.valueExists(name) ? registry.readString(name) : defaultValue;
    });
}

QStringList TRegKeyReader::valueNames()
{
    return ReadOr(QStringList(), [](TRegistry &registry) { return registry.valueNames(); });
}

QStringList RegReadValueNames(HKEY hive, const QString &key, const QString &subkey, const QStringList &defaultList,
                              bool *unread)
{
    // An empty subkey would name the key itself, whose values are not the list.
    if (subkey.isEmpty()) return defaultList;
    return ReadOr(hive, key, defaultList, unread, [&](TRegistry &registry) {
        return registry.openKey(subkey, false) ? registry.valueNames() : defaultList;
    });
}

void RegWriteString(HKEY hive, const QString &key, const QString &name, const QString &text)
{
    WriteOne(hive, key, name, RegistryValue::fromString(text));
}

void RegWriteBool(HKEY hive, const QString &key, const QString &name, bool value)
{
    RegWriteInteger(hive, key, name, value ? 1 : 0);
}

void RegWriteInteger(HKEY hive, const QString &key, const QString &name, qint32 number)
{
    WriteOne(hive, key, name, RegistryValue::fromDword(std::uint32_t(number)));
}

void RegWriteValueNames(HKEY hive, const QString &key, const QString &subkey, const QStringList &names)
{
    // Deleting an empty subkey would delete the key itself with everything under it.
    if (subkey.isEmpty()) return;
    RegistryBatch batch;
    AddValueNameList(batch, key + u'\\' + subkey, names);
    RegWriteBatch(hive, batch);
}

bool RegWriteBatch(HKEY hive, const RegistryBatch &batch)
{
    try {
        openRegistryStore(hive, RegistryAccess::ReadWrite)->apply(batch);
        return true;
    } catch (const RegistryStoreError &error) {
        // A refused write is lost; the caller's values stay in force for the rest of the run.
        NoteStoreFailure(error);
    } catch (...) {
    }
    return false;
}

void AddValueNameList(RegistryBatch &batch, const QString &listKey, const QStringList &names)
{
    batch.deleteKey(listKey);
    batch.createKey(listKey);
    for (const QString &name : names)
        batch.setValue(listKey, name, RegistryValue::fromString(QString()));
}
