// What one run of the program knows of the values it keeps in the store, so that a save writes only what
// changed in this run: another run over the same store keeps what it changed meanwhile. A value the store did
// not hold is added where it still holds none, so that a first run fills in its defaults without undoing a
// second run's save.
#pragma once

#include "RegistryStore.h"

#include <QSet>
#include <QStringList>

#include <optional>

namespace registry {

class SaveBaseline
{
public:
    // The names of the values the store held as the run read it; `unread` when it could not be read, and then
    // nothing is filled in over what it may hold.
    void setStored(const QStringList &names, bool unread);
    // The run's values as it found them.
    void setFound(const RegistryBatch &values) { m_values = values; }
    bool hasFound() const { return m_values.has_value(); }

    // What a save of `values` writes: all of them while nothing was found, else what changed since.
    RegistryBatch changesIn(const RegistryBatch &values) const;
    // `values` are in the store now.
    void saved(const RegistryBatch &values);

private:
    std::optional<RegistryBatch> m_values;
    QSet<QString> m_storedNames; // case-folded
    bool m_unread = false;
};

} // namespace registry
