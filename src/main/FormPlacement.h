// TFormPlacement keeps a window's place on the screen in one registry key (TFormStorage adds chosen Qt
// properties of the window's controls). Every value is a REG_SZ text. The window tells its stores when
// it is shown, asked to close and destroyed; each store decides from its flags whether to restore or save.
// A save writes what changed in this run of its store, events included, in one transaction: all of it or
// nothing.
#pragma once

#include "RegistryHive.h"
#include "RegistryStore.h"
#include "SaveBaseline.h"

#include <QFlags>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QWidget;
namespace registry {
class TRegistry;
}

enum TPlacementOption { fpPosition = 0x1 };
Q_DECLARE_FLAGS(TPlacementOptions, TPlacementOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TPlacementOptions)

class TFormPlacement : public QObject
{
    Q_OBJECT

public:
    // The values live in hive\key\section. The store belongs to its window and goes with it.
    TFormPlacement(QWidget *owner, registry::HKEY hive, const QString &key, const QString &section);
    ~TFormPlacement() override;

    // Call from the window's show event: the first call restores, if the store is active then. A store
    // that cannot be read restores nothing, as one without stored values.
    void WindowShown();
    // Call from the window's close event: saves, as Save does, if active.
    void WindowCloseRequested();
    // Call from the window's destructor while its controls still exist: saves again unless saved since the
    // restore. Nothing can catch an error there, so a warning is shown to the user here.
    void WindowDestroying() noexcept;
    // Saves now, if restored in this run, in one transaction. A refused save raises ECVException (a
    // warning) when the user has not yet heard of that trouble in this run (CVStoreNotices), and is quiet
    // otherwise; either way the window's destruction tries once more.
    void Save();

    // Reading values of the section, for the restore's events, and writing them, for the save's. A value
    // that is missing, not text, or not a decimal integer reads as the default.
    QString ReadString(const QString &name, const QString &defaultValue) const;
    qint32 ReadInteger(const QString &name, qint32 defaultValue) const;
    void WriteString(const QString &name, const QString &text);
    void WriteInteger(const QString &name, qint32 value);
    // Replaces the subkey of the section by one holding a value per text, named by it, with empty data.
    void WriteValueNames(const QString &subkey, const QStringList &names);

    bool Active = true;
    TPlacementOptions Options = fpPosition;
    // Values of another key that several runs merge, saved in the same transaction as the store's own.
    registry::MergedValues *MergeWith = nullptr;
    int Version = 0;
    // Run at the end of every restore and of every save.
    std::function<void(TFormPlacement &sender)> OnRestorePlacement;
    std::function<void(TFormPlacement &sender)> OnSavePlacement;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    QWidget *owner() const { return m_owner; }
    // Text of a value, or nothing when it is missing or not text: the caller's default stands in.
    std::optional<QString> ReadText(const QString &name) const;
    // The value as stored, or nothing when it is missing or cannot be read (noted for the user).
    std::optional<registry::RegistryValue> ReadValue(const QString &name) const;
    virtual void RestoreProperties() {}
    virtual void SaveProperties() {}

private:
    void Restore();
    void OpenForReading();
    void NoteUnread(const registry::RegistryStoreError &error) const;
    void RestorePosition();
    void WritePlacement();
    // What a save writes now: everything of the store, events included.
    registry::RegistryBatch CollectChanges();
    bool ApplyChanges(const registry::RegistryBatch &changes, registry::MergedValues *merged);

    QWidget *m_owner;
    registry::HKEY m_hive;
    QString m_path;
    std::unique_ptr<registry::TRegistry> m_openKey;   // only during a restore
    std::optional<registry::RegistryBatch> m_changes; // only during a save
    mutable bool m_unread = false;                    // the store could not be read in the restore
    // What the store holds for this run: what a save would have written as the window first showed, then what
    // the last save wrote. A save writes only what differs from it.
    registry::SaveBaseline m_baseline;
    bool m_shown = false;
    bool m_restored = false;
    bool m_savedSinceRestore = false;
    bool m_destroying = false;
};
