#include "ColourHistory.h"

#include "RegistryStore.h"

#include <algorithm>
#include <utility>

using namespace registry;

using namespace colour;

namespace {

QString ValueName(qsizetype position)
{
    return QStringLiteral("Color%1").arg(position + 1);
}

void Push(QList<Colour> &colours, Colour colour)
{
    colour &= White;
    colours.removeAll(colour);
    colours.prepend(colour);
    if (colours.size() > ColourHistory::Capacity) colours.resize(ColourHistory::Capacity);
}

// The list the values hold: Color1 first; a value missing, not a REG_DWORD or repeating an earlier colour is
// passed over.
QList<Colour> ListOf(const KeyValues &values)
{
    QList<Colour> colours;
    for (qsizetype position = 0; position < ColourHistory::Capacity; ++position)
        for (const auto &[name, stored] : values)
            if (name.compare(ValueName(position), Qt::CaseInsensitive) == 0) {
                // A hand-edited value may carry a top byte: the colour is its low 24 bits.
                const std::optional<std::uint32_t> value = decodeRegDword(stored);
                if (value && !colours.contains(*value & White)) colours.append(*value & White);
            }
    return colours;
}

RegistryBatch ValuesOf(const QString &key, const QList<Colour> &colours)
{
    RegistryBatch batch;
    for (qsizetype position = 0; position < ColourHistory::Capacity; ++position)
        if (position < colours.size())
            batch.setValue(key, ValueName(position), RegistryValue::fromDword(colours[position]));
        else
            batch.deleteValue(key, ValueName(position));
    return batch;
}

} // namespace

ColourHistory::ColourHistory(HKEY hive, QString key, QObject *parent)
    : QObject(parent), m_hive(hive), m_key(std::move(key))
{
}

void ColourHistory::add(Colour colour)
{
    QList<Colour> colours = m_colours;
    Push(colours, colour);
    m_steps.append(colour);
    setColours(colours);
}

void ColourHistory::clear()
{
    m_steps = {std::nullopt}; // what came before is cleared anyway
    setColours({});
}

void ColourHistory::restore()
{
    setColours(WithSteps(ListOf(openRegistryStore(m_hive, RegistryAccess::ReadOnly)->values(m_key))));
}

void ColourHistory::save()
{
    if (hasChanges()) openRegistryStore(m_hive, RegistryAccess::ReadWrite)->apply({}, this);
}

RegistryBatch ColourHistory::mergeInto(const KeyValues &values)
{
    m_merging = WithSteps(ListOf(values));
    return ValuesOf(m_key, m_merging);
}

void ColourHistory::merged()
{
    m_steps.clear();
    setColours(m_merging);
}

QList<Colour> ColourHistory::WithSteps(QList<Colour> colours) const
{
    for (const std::optional<Colour> &step : m_steps)
        step ? Push(colours, *step) : colours.clear();
    return colours;
}

void ColourHistory::setColours(const QList<Colour> &colours)
{
    // (Not QList's ==: Qt 6.4 hands memcmp a null pointer for an empty list.)
    if (std::ranges::equal(colours, m_colours)) return;
    m_colours = colours;
    emit changed();
}
