#include "SaveBaseline.h"

namespace registry {

void SaveBaseline::setStored(const QStringList &names, bool unread)
{
    m_storedNames.clear();
    for (const QString &name : names)
        m_storedNames.insert(name.toCaseFolded());
    m_unread = unread;
}

RegistryBatch SaveBaseline::changesIn(const RegistryBatch &values) const
{
    if (!m_values) return values;
    return values.without(
        *m_values, [this](const QString &name) { return m_unread || m_storedNames.contains(name.toCaseFolded()); });
}

void SaveBaseline::saved(const RegistryBatch &values)
{
    m_values = values;
    for (const RegistryBatch::Change &change : values.changes())
        m_storedNames.insert(change.name.toCaseFolded());
}

} // namespace registry
