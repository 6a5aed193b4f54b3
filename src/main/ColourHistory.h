// The colours the user last took in (picked from the screen, pasted, chosen in the colour dialog, typed as a
// notation), newest first, each once, at most sixteen. They live in the store's key "History", as the REG_DWORD
// values Color1 .. Color16.
//
// Several runs may share the store. A save replays what this run did since its last save, its adds and
// clears, on what the store holds at that moment, in one transaction: a colour another run added meanwhile is
// kept, and this run's list takes it in too. The window saves the list in its colour store's transaction.
#pragma once

#include "RegistryHive.h"
#include "RegistryStore.h"
#include "uFunctions.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

class ColourHistory : public QObject, public registry::MergedValues
{
    Q_OBJECT

public:
    static constexpr qsizetype Capacity = 16;

    // The values live in hive\key.
    ColourHistory(registry::HKEY hive, QString key, QObject *parent = nullptr);

    const QList<colour::Colour> &colours() const { return m_colours; }
    // The colour goes to the top, from wherever it stood.
    void add(colour::Colour colour);
    void clear();

    // Takes the store's list; raises RegistryStoreError when it cannot be read, and the list stays.
    void restore();
    // Writes what this run did since its last save, if anything, merged as above, in a transaction of its own.
    // Raises RegistryStoreError when the store cannot be written; the run's steps wait for the next save.
    void save();

    // For a save in another's transaction.
    QString mergedKey() const override { return m_key; }
    bool hasChanges() const override { return !m_steps.isEmpty(); }
    registry::RegistryBatch mergeInto(const registry::KeyValues &values) override;
    void merged() override;

signals:
    void changed();

private:
    // What this run's steps since its last save make of a list.
    QList<colour::Colour> WithSteps(QList<colour::Colour> colours) const;
    void setColours(const QList<colour::Colour> &colours);

    registry::HKEY m_hive;
    QString m_key;
    QList<colour::Colour> m_colours;
    QList<std::optional<colour::Colour>> m_steps; // since the last save: a colour added, or nothing for a clear
    QList<colour::Colour> m_merging;              // what the last mergeInto made of the store's list
};
