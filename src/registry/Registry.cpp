#include "Registry.h"

namespace registry {

ERegistryException::ERegistryException(const QString &message, const QString &details)
    : std::runtime_error((details.isEmpty() ? message : message + QStringLiteral(": ") + details).toStdString()),
      m_message(message), m_details(details)
{
}

TRegistry::TRegistry(RegistryAccess access) : m_access(access) {}

TRegistry::~TRegistry() = default;
TRegistry::TRegistry(TRegistry &&) noexcept = default;
TRegistry &TRegistry::operator=(TRegistry &&) noexcept = default;

void TRegistry::setRootKey(HKEY root)
{
    closeKey();
    if (root != m_root) m_store.reset();
    m_root = root;
}

QString TRegistry::resolve(const QString &key) const
{
    if (key.startsWith(u'\\')) return key.mid(1);
    if (m_currentPath.isEmpty() || key.isEmpty()) return m_currentPath + key;
    return m_currentPath + u'\\' + key;
}

RegistryStore &TRegistry::store()
{
    if (!m_store) m_store = openRegistryStore(m_root, m_access);
    return *m_store;
}

bool TRegistry::openKey(const QString &key, bool canCreate)
{
    const QString path = resolve(key);
    if (!store().keyExists(path)) {
        if (!canCreate) return false;
        try {
            createPath(path);
        } catch (const RegistryStoreError &) {
            return false;
        }
    }
    m_currentPath = path;
    return true;
}

void TRegistry::closeKey()
{
    m_currentPath.clear();
}

void TRegistry::createKey(const QString &key)
{
    try {
        createPath(resolve(key));
    } catch (const RegistryStoreError &error) {
        throw ERegistryException(QStringLiteral("Failed to create key %1").arg(key), error.message());
    }
}

void TRegistry::createPath(const QString &path)
{
    RegistryBatch batch;
    batch.createKey(path);
    store().apply(batch);
}

bool TRegistry::deleteKey(const QString &key)
{
    const QString path = resolve(key);
    if (!store().keyExists(path)) return false;
    RegistryBatch batch;
    batch.deleteKey(path);
    store().apply(batch);
    return true;
}

bool TRegistry::keyExists(const QString &key)
{
    return store().keyExists(resolve(key));
}

QStringList TRegistry::keyNames()
{
    return store().subkeyNames(m_currentPath);
}

QStringList TRegistry::valueNames()
{
    return store().valueNames(m_currentPath);
}

bool TRegistry::valueExists(const QString &name)
{
    return readValue(name).has_value();
}

std::optional<RegistryValue> TRegistry::readValue(const QString &name)
{
    return store().value(m_currentPath, name);
}

RegistryValue TRegistry::requireValue(const QString &name)
{
    std::optional<RegistryValue> value = readValue(name);
    if (!value) throw ERegistryException(QStringLiteral("Failed to get data for '%1'").arg(name));
    return *value;
}

QString TRegistry::readString(const QString &name)
{
    const RegistryValue value = requireValue(name);
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ)
        throw ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(name));
    return decodeRegString(value.data);
}

qint32 TRegistry::readInteger(const QString &name)
{
    const std::optional<std::uint32_t> number = decodeRegDword(requireValue(name));
    if (!number) throw ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(name));
    return qint32(*number);
}

bool TRegistry::readBool(const QString &name)
{
    return readInteger(name) != 0;
}

void TRegistry::writeValue(const QString &name, const RegistryValue &value)
{
    try {
        RegistryBatch batch;
        batch.setValue(m_currentPath, name, value);
        store().apply(batch);
    } catch (const RegistryStoreError &error) {
        throw ERegistryException(QStringLiteral("Failed to set data for '%1'").arg(name), error.message());
    }
}

void TRegistry::writeString(const QString &name, const QString &text)
{
    writeValue(name, RegistryValue::fromString(text));
}

void TRegistry::writeExpandString(const QString &name, const QString &text)
{
    writeValue(name, RegistryValue::fromString(text, REG_EXPAND_SZ));
}

void TRegistry::writeInteger(const QString &name, qint32 number)
{
    writeValue(name, RegistryValue::fromDword(std::uint32_t(number)));
}

void TRegistry::writeBool(const QString &name, bool value)
{
    writeInteger(name, value ? 1 : 0);
}

bool TRegistry::deleteValue(const QString &name)
{
    if (!valueExists(name)) return false;
    RegistryBatch batch;
    batch.deleteValue(m_currentPath, name);
    store().apply(batch);
    return true;
}

void TRegistry::apply(const RegistryBatch &batch)
{
    store().apply(batch);
}

} // namespace registry
