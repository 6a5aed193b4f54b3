#include "RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <sqlite3.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include <unistd.h>

namespace {
// "TwRg": marks a database file as a hive of this program, so that no other SQLite file is taken for one.
constexpr qint64 HiveApplicationId = 0x54775267;
constexpr qint64 RootKeyId = 1;
constexpr int BusyTimeoutMs = 10000;

constexpr const char *SchemaSql = R"sql(
CREATE TABLE IF NOT EXISTS keys(
    id INTEGER PRIMARY KEY,
    parent INTEGER REFERENCES keys(id) ON DELETE CASCADE,
    name TEXT NOT NULL COLLATE NOCASE,
    UNIQUE(parent, name));
CREATE TABLE IF NOT EXISTS vals(
    id INTEGER PRIMARY KEY,
    key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,
    name TEXT NOT NULL COLLATE NOCASE,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    UNIQUE(key, name));
INSERT OR IGNORE INTO keys(id, parent, name) VALUES(1, NULL, '');
PRAGMA application_id = 1417106023;
)sql";
static_assert(HiveApplicationId == 1417106023);

// Another connection holds a lock that SQLite's busy handler does not wait for: while a closing
// connection cleans up the write-ahead log, while one recovers it, or while a new hive is set up.
class BusyError : public RegistryStoreError
{
public:
    using RegistryStoreError::RegistryStoreError;
};

struct KeyPath
{
    QStringList names;
    QString problem; // empty when the path is sound
};

// One separator at either end is tolerated; an empty name inside the path is not.
KeyPath ParseKeyPath(const QString &path)
{
    QStringView view(path);
    if (view.startsWith(u'\\')) view = view.mid(1);
    if (view.endsWith(u'\\')) view.chop(1);
    KeyPath result;
    if (view.isEmpty()) return result;
    for (const QStringView name : view.split(u'\\')) {
        if (name.isEmpty()) {
            result.problem = QStringLiteral("key path \"%1\" holds an empty key name").arg(path);
        } else if (name.size() > MaxKeyNameLength) {
            result.problem = QStringLiteral("key name longer than %1 characters").arg(MaxKeyNameLength);
        } else if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20; })) {
            result.problem = QStringLiteral("key name \"%1\" holds a control character").arg(name);
        }
        if (!result.problem.isEmpty()) return result;
        result.names.append(name.toString());
    }
    if (result.names.size() > MaxKeyDepth)
        result.problem = QStringLiteral("key path deeper than %1 levels").arg(MaxKeyDepth);
    return result;
}

QString ValueNameProblem(const QString &name)
{
    if (name.size() > MaxValueNameLength)
        return QStringLiteral("value name longer than %1 characters").arg(MaxValueNameLength);
    if (name.contains(QChar(0))) return QStringLiteral("value name holds a NUL character");
    return {};
}

// The hive's folders are private to the user, like the files in them.
bool MakePrivateDirectory(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir()) return true;
    return MakePrivateDirectory(info.absolutePath()) &&
           QDir().mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

RegistryStoreOpener DefaultOpener()
{
    return [](HKEY hive, RegistryAccess access) { return std::make_unique<RegistryStore>(HiveFilePath(hive), access); };
}

RegistryStoreOpener &CurrentOpener()
{
    static RegistryStoreOpener opener = DefaultOpener();
    return opener;
}
} // namespace

class RegistryStore::Statement
{
public:
    Statement(RegistryStore &store, const char *sql) : m_store(store)
    {
        store.check(sqlite3_prepare_v3(store.m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &m_statement, nullptr));
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    void reset()
    {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
    Statement &bind(int index, qint64 number)
    {
        m_store.check(sqlite3_bind_int64(m_statement, index, number));
        return *this;
    }
    Statement &bind(int index, const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        m_store.check(sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
        return *this;
    }
    Statement &bind(int index, const QByteArray &bytes)
    {
        m_store.check(sqlite3_bind_blob(m_statement, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT));
        return *this;
    }
    bool step()
    {
        const int result = sqlite3_step(m_statement);
        if (result == SQLITE_ROW) return true;
        if (result != SQLITE_DONE) m_store.check(result);
        return false;
    }
    void run()
    {
        while (step()) {
        }
    }
    // The first column of the first row, leaving the statement ready for its next use.
    std::optional<qint64> singleInteger()
    {
        std::optional<qint64> result;
        if (step()) result = integer(0);
        reset();
        return result;
    }
    qint64 integer(int column) const { return sqlite3_column_int64(m_statement, column); }
    QString text(int column) const
    {
        const auto *utf8 = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
        return QString::fromUtf8(utf8, sqlite3_column_bytes(m_statement, column));
    }
    QByteArray blob(int column) const
    {
        const auto *bytes = static_cast<const char *>(sqlite3_column_blob(m_statement, column));
        return QByteArray(bytes, sqlite3_column_bytes(m_statement, column));
    }

private:
    RegistryStore &m_store;
    sqlite3_stmt *m_statement = nullptr;
};

// Rolls back unless committed, so that a failure half-way through a batch leaves nothing behind.
class RegistryStore::Transaction
{
public:
    Transaction(RegistryStore &store, const char *begin) : m_store(store) { store.exec(begin); }
    ~Transaction()
    {
        if (!m_committed) sqlite3_exec(m_store.m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit()
    {
        m_store.exec("COMMIT");
        m_committed = true;
    }

private:
    RegistryStore &m_store;
    bool m_committed = false;
};

RegistryStore::RegistryStore(QString filePath, RegistryAccess access)
    : m_filePath(std::move(filePath)), m_access(access)
{
}

RegistryStore::~RegistryStore()
{
    m_statements.clear();
    sqlite3_close(m_db);
}

// Runs work again, from the start of its transaction, for as long as another copy of the program
// holds the hive briefly; gives up with the busy error after the busy timeout.
template <typename Work> auto RetryWhileBusy(Work work) -> decltype(work())
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(BusyTimeoutMs);
    for (;;) {
        try {
            return work();
        } catch (const BusyError &) {
            if (std::chrono::steady_clock::now() > deadline) throw;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
}

template <typename Read>
auto RegistryStore::readKey(const QString &key, Read read) -> std::optional<decltype(read(qint64()))>
{
    const KeyPath path = ParseKeyPath(key);
    if (!path.problem.isEmpty()) return std::nullopt;
    return RetryWhileBusy([&]() -> std::optional<decltype(read(qint64()))> {
        if (!connectForReading()) return std::nullopt;
        Transaction transaction(*this, "BEGIN");
        std::optional<decltype(read(qint64()))> result;
        if (const auto id = findKey(path.names)) result = read(*id);
        transaction.commit();
        return result;
    });
}

bool RegistryStore::keyExists(const QString &key)
{
    const KeyPath path = ParseKeyPath(key);
    if (path.problem.isEmpty() && path.names.isEmpty()) return true; // a hive's root is always there
    return readKey(key, [](qint64) { return true; }).has_value();
}

QStringList RegistryStore::subkeyNames(const QString &key)
{
    return namesUnder(key, "SELECT name FROM keys WHERE parent = ?1 ORDER BY name");
}

QStringList RegistryStore::valueNames(const QString &key)
{
    return namesUnder(key, "SELECT name FROM vals WHERE key = ?1 ORDER BY id");
}

QStringList RegistryStore::namesUnder(const QString &key, const char *query)
{
    return readKey(key,
                   [this, query](qint64 id) {
                       Statement &names = statement(query);
                       names.bind(1, id);
                       QStringList result;
                       while (names.step())
                           result.append(names.text(0));
                       return result;
                   })
        .value_or(QStringList());
}

std::optional<RegistryValue> RegistryStore::value(const QString &key, const QString &name)
{
    if (!ValueNameProblem(name).isEmpty()) return std::nullopt;
    return readKey(key,
                   [this, &name](qint64 id) {
                       Statement &query = statement("SELECT type, data FROM vals WHERE key = ?1 AND name = ?2");
                       query.bind(1, id).bind(2, name);
                       std::optional<RegistryValue> found;
                       if (query.step()) found = RegistryValue{std::uint32_t(query.integer(0)), query.blob(1)};
                       query.reset();
                       return found;
                   })
        .value_or(std::nullopt);
}

void RegistryStore::apply(const RegistryBatch &batch)
{
    connectForWriting();
    Transaction transaction(*this, "BEGIN IMMEDIATE");
    if (!m_hasSchema) exec(SchemaSql);
    for (const RegistryBatch::Change &change : batch.changes())
        applyChange(change);
    transaction.commit();
    m_hasSchema = true;
}

void RegistryStore::applyChange(const RegistryBatch::Change &change)
{
    const KeyPath path = ParseKeyPath(change.key);
    if (!path.problem.isEmpty()) fail(path.problem);
    switch (change.kind) {
    case RegistryBatch::Kind::CreateKey:
        createKey(path.names);
        return;
    case RegistryBatch::Kind::DeleteKey:
        if (path.names.isEmpty()) fail(QStringLiteral("the root of a hive cannot be deleted"));
        if (const auto id = findKey(path.names)) statement("DELETE FROM keys WHERE id = ?1").bind(1, *id).run();
        return;
    case RegistryBatch::Kind::SetValue:
        if (const QString problem = ValueNameProblem(change.name); !problem.isEmpty()) fail(problem);
        // An existing value keeps its place in the list and the case of its name.
        statement("INSERT INTO vals(key, name, type, data) VALUES(?1, ?2, ?3, ?4)"
                  " ON CONFLICT(key, name) DO UPDATE SET type = excluded.type, data = excluded.data")
            .bind(1, createKey(path.names))
            .bind(2, change.name)
            .bind(3, qint64(change.value.type))
            .bind(4, change.value.data)
            .run();
        return;
    case RegistryBatch::Kind::DeleteValue:
        if (const auto id = findKey(path.names))
            statement("DELETE FROM vals WHERE key = ?1 AND name = ?2").bind(1, *id).bind(2, change.name).run();
        return;
    }
}

std::optional<qint64> RegistryStore::childKey(qint64 parent, const QString &name)
{
    return statement("SELECT id FROM keys WHERE parent = ?1 AND name = ?2")
        .bind(1, parent)
        .bind(2, name)
        .singleInteger();
}

std::optional<qint64> RegistryStore::findKey(const QStringList &names)
{
    std::optional<qint64> id = RootKeyId;
    for (auto name = names.begin(); id && name != names.end(); ++name)
        id = childKey(*id, *name);
    return id;
}

qint64 RegistryStore::createKey(const QStringList &names)
{
    qint64 id = RootKeyId;
    for (const QString &name : names) {
        if (const auto child = childKey(id, name)) {
            id = *child;
            continue;
        }
        statement("INSERT INTO keys(parent, name) VALUES(?1, ?2)").bind(1, id).bind(2, name).run();
        id = sqlite3_last_insert_rowid(m_db);
    }
    return id;
}

bool RegistryStore::connectForReading()
{
    if (!m_db) {
        if (!QFileInfo::exists(m_filePath)) return false;
        openConnection();
    }
    if (!m_hasSchema) identify();
    return m_hasSchema;
}

void RegistryStore::connectForWriting()
{
    if (m_access == RegistryAccess::ReadOnly) fail(QStringLiteral("opened for reading only"));
    if (m_writable) return;
    if (!m_db) {
        if (!QFileInfo::exists(m_filePath)) createHiveFile();
        openConnection();
    }
    identify();
    requireIntact();
    useWriteAheadLog();
    m_writable = true;
}

// A new hive is set up complete under a private name and then linked into place, which fails if another
// copy of the program got there first. So no copy ever opens a hive that is half set up, and the file is
// private from the start; its write-ahead log and index take the same mode.
void RegistryStore::createHiveFile() const
{
    const QFileInfo hive(m_filePath);
    if (!MakePrivateDirectory(hive.absolutePath())) fail(QStringLiteral("cannot create its folder"));
    QTemporaryFile draft(hive.absolutePath() + QStringLiteral("/.") + hive.fileName() + QStringLiteral("-XXXXXX"));
    if (!draft.open()) fail(QStringLiteral("cannot create a new hive: ") + draft.errorString());
    draft.close();
    RegistryStore(draft.fileName(), RegistryAccess::ReadWrite).apply(RegistryBatch());
    if (::link(QFile::encodeName(draft.fileName()).constData(), QFile::encodeName(m_filePath).constData()) != 0 &&
        errno != EEXIST)
        fail(QStringLiteral("cannot create a new hive: ") + QString::fromLocal8Bit(strerror(errno)));
}

void RegistryStore::openConnection()
{
    const int flags = m_access == RegistryAccess::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    const int result = sqlite3_open_v2(QFile::encodeName(m_filePath).constData(), &m_db, flags, nullptr);
    if (result != SQLITE_OK) {
        sqlite3_close(m_db);
        m_db = nullptr;
        fail(QString::fromUtf8(sqlite3_errstr(result)));
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, BusyTimeoutMs);
    exec("PRAGMA foreign_keys = ON");
}

// Tells a hive of this program from an empty file, which becomes one at the first write, and from
// anything else, which is left alone.
void RegistryStore::identify()
{
    // One snapshot, so that a hive another copy is setting up right now is seen before or after, not half-way.
    Transaction transaction(*this, "BEGIN");
    const qint64 applicationId = statement("PRAGMA application_id").singleInteger().value_or(0);
    const qint64 objects = statement("SELECT count(*) FROM sqlite_schema").singleInteger().value_or(0);
    transaction.commit();
    if (applicationId == HiveApplicationId) {
        m_hasSchema = true;
    } else if (applicationId != 0 || objects != 0) {
        fail(QStringLiteral("an SQLite database of another program, not a registry hive; left as it is"));
    }
}

void RegistryStore::requireIntact()
{
    Statement &check = statement("PRAGMA quick_check(1)");
    const QString verdict = check.step() ? check.text(0) : QString();
    check.reset();
    if (verdict != QLatin1String("ok")) fail(QStringLiteral("damaged (%1); left as it is").arg(verdict));
}

void RegistryStore::useWriteAheadLog()
{
    Statement &mode = statement("PRAGMA journal_mode = WAL");
    const QString journalMode = mode.step() ? mode.text(0) : QString();
    mode.reset();
    if (journalMode != QLatin1String("wal")) fail(QStringLiteral("cannot use a write-ahead log"));
    exec("PRAGMA synchronous = NORMAL");
}

RegistryStore::Statement &RegistryStore::statement(const char *sql)
{
    std::shared_ptr<Statement> &cached = m_statements[sql];
    if (!cached) cached = std::make_shared<Statement>(*this, sql);
    cached->reset();
    return *cached;
}

void RegistryStore::exec(const char *sql)
{
    check(sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr));
}

void RegistryStore::check(int resultCode)
{
    if (resultCode == SQLITE_OK) return;
    const QString problem = QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(resultCode));
    const int primaryCode = resultCode & 0xFF;
    if (primaryCode == SQLITE_BUSY || primaryCode == SQLITE_LOCKED) throw BusyError(describe(problem));
    fail(problem);
}

QString RegistryStore::describe(const QString &problem) const
{
    return QStringLiteral("registry hive %1: %2").arg(QDir::toNativeSeparators(m_filePath), problem);
}

void RegistryStore::fail(const QString &problem) const
{
    throw RegistryStoreError(describe(problem));
}

std::unique_ptr<RegistryStore> OpenRegistryStore(HKEY hive, RegistryAccess access)
{
    return CurrentOpener()(hive, access);
}

RegistryStoreOpener SetRegistryStoreOpener(RegistryStoreOpener opener)
{
    return std::exchange(CurrentOpener(), opener ? std::move(opener) : DefaultOpener());
}
