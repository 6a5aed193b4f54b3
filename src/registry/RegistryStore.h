// One hive of the registry, kept in an SQLite database file. Keys are '\'-separated paths below the hive's
// root, matched without regard to ASCII case and stored as first written; values are typed and list in the
// order they were created. Every batch of changes is one transaction, and the file is shared safely by
// several running copies (WAL and a bounded wait for the write lock). A file that is not a sound hive is
// never written to, and a hive the user may read but not write is still read, write-ahead log included.
#pragma once

#include "RegistryHive.h"
#include "RegistryValue.h"
#include "StoreErrors.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class QTemporaryDir;
struct sqlite3;
struct sqlite3_stmt;

namespace registry {

// Changes that a store makes all together or not at all. Key paths are relative to the hive's root.
// Deleting what is not there is no error; setting a value creates its key and the keys above it.
class RegistryBatch
{
public:
    enum class Kind { CreateKey, DeleteKey, SetValue, AddValue, DeleteValue };
    struct Change
    {
        Kind kind;
        QString key;
        QString name;
        RegistryValue value;

        bool operator==(const Change &) const = default;
    };

    void createKey(const QString &key) { m_changes.append({Kind::CreateKey, key, {}, {}}); }
    void deleteKey(const QString &key) { m_changes.append({Kind::DeleteKey, key, {}, {}}); }
    void setValue(const QString &key, const QString &name, const RegistryValue &value)
    {
        m_changes.append({Kind::SetValue, key, name, value});
    }
    // Sets the value only where the key holds none of that name.
    void addValue(const QString &key, const QString &name, const RegistryValue &value)
    {
        m_changes.append({Kind::AddValue, key, name, value});
    }
    void deleteValue(const QString &key, const QString &name) { m_changes.append({Kind::DeleteValue, key, name, {}}); }
    const QList<Change> &changes() const { return m_changes; }
    // The first key path or value name in the batch that no hive can hold; empty when every one is sound.
    QString problem() const;
    // The changes of this batch that `baseline` does not make alike: a value set as the baseline sets it, or a key
    // replaced (deleted, then filled again) as the baseline replaces it, is left out. So a save writes back only
    // what changed since. A value left out that `stored` says the store did not hold is added instead, where
    // the store still holds none: a first run fills in its defaults without undoing another's changes.
    RegistryBatch without(const RegistryBatch &baseline,
                          const std::function<bool(const QString &name)> &stored = {}) const;

private:
    QList<Change> m_changes;
};

// The values of one key that several runs of the program merge rather than overwrite: a write reads them and
// writes what this run's changes make of them in its own transaction, so that no other run writes in between.
// A key's values by name, in the order they were created.
using KeyValues = QList<std::pair<QString, RegistryValue>>;

class MergedValues
{
public:
    virtual ~MergedValues() = default;
    virtual QString mergedKey() const = 0;
    virtual bool hasChanges() const = 0;
    // What this run's changes make of `values`, the key's values as they stand. May be asked again, after
    // another program held the hive, and then gets what it holds by then.
    virtual RegistryBatch mergeInto(const KeyValues &values) = 0;
    // What the last mergeInto made is in the store.
    virtual void merged() = 0;
};

class RegistryStore
{
public:
    // Opens nothing yet: the file is read at the first read and created, with its folder, at the first write.
    RegistryStore(QString filePath, RegistryAccess access);
    ~RegistryStore();
    RegistryStore(const RegistryStore &) = delete;
    RegistryStore &operator=(const RegistryStore &) = delete;

    const QString &filePath() const { return m_filePath; }
    RegistryAccess access() const { return m_access; }

    // A hive without a file is empty, and a path or name beyond the limits names nothing.
    bool keyExists(const QString &key);
    QStringList subkeyNames(const QString &key); // sorted without regard to case, as Windows lists them
    QStringList valueNames(const QString &key);  // in the order the values were created
    KeyValues values(const QString &key);        // the same, with their values, in one read
    std::optional<RegistryValue> value(const QString &key, const QString &name);

    // Waits for the write lock a bounded time, and not at all while this hive was last found busy. With
    // `merged`, its changes are merged in the same transaction, after the batch, and told so after the commit.
    void apply(const RegistryBatch &batch, MergedValues *merged = nullptr);
    // Raises the Damaged fault when the file is no sound hive, reading it whole; a missing file is sound.
    void verifyIntact();

private:
    class Statement;
    class Transaction;

    void requireAbsolutePath() const;
    void requireAFile() const;
    bool connectForReading();
    void connectForWriting();
    void requireWritableFiles() const;
    void createHiveFile() const;
    void buildEmptyHive();
    // Of the hive's file, or of a private copy of it.
    void openConnection(bool immutable, const QString &copy = {});
    bool openPrivateCopy();
    void closeConnection();
    void identify();
    void requireIntact();
    void useWriteAheadLog();

    // Runs work again from its start while another program holds the hive, up to a bounded wait.
    template <typename Work> auto waitingForLocks(Work work) -> decltype(work());
    template <typename Read> auto readKey(const QString &key, Read read) -> std::optional<decltype(read(qint64()))>;
    std::optional<qint64> childKey(qint64 parent, const QString &name);
    std::optional<qint64> findKey(const QStringList &names);
    qint64 createKey(const QStringList &names);
    void applyChange(const RegistryBatch::Change &change);
    void applyMerge(MergedValues &merged);
    KeyValues valuesOf(qint64 key);

    Statement &statement(const char *sql);
    // The names a one-column query lists for the key's id (?1); empty when the key is absent.
    QStringList namesUnder(const QString &key, const char *query);
    void exec(const char *sql);
    QString describe(const QString &problem) const;
    [[noreturn]] void fail(const QString &problem, RegistryFault fault = RegistryFault::Other) const;
    [[noreturn]] void failWithErrno(const QString &problem, int error) const;
    void check(int resultCode);

    QString m_filePath;
    RegistryAccess m_access;
    sqlite3 *m_db = nullptr;
    bool m_hasSchema = false;
    bool m_writable = false;
    bool m_immutable = false;              // read without the write-ahead log's index: nothing can write the hive
    std::unique_ptr<QTemporaryDir> m_copy; // of a hive read with the log that no index here could serve
    std::chrono::steady_clock::time_point m_lockDeadline; // of the read or write under way
    QHash<const char *, std::shared_ptr<Statement>> m_statements;
};

// Every accessor gets its store here. Tests may install an opener that refuses or wraps stores, to see how
// callers meet a hive that cannot be written; the previous opener is returned so it can be put back.
using RegistryStoreOpener = std::function<std::unique_ptr<RegistryStore>(HKEY, RegistryAccess)>;
std::unique_ptr<RegistryStore> openRegistryStore(HKEY hive, RegistryAccess access);
RegistryStoreOpener setRegistryStoreOpener(RegistryStoreOpener opener);

} // namespace registry
