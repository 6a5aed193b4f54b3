#include "RegistryStore.h"

#include "HiveFiles.h"
#include "KeyPaths.h"
#include "LockWait.h"
#include "StoreFaults.h"
#include "StoreStatement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace registry {

namespace {
// "TwRg": marks a database file as a hive of this program, so that no other SQLite file is taken for one.
constexpr qint64 HiveApplicationId = 0x54775267;
constexpr qint64 RootKeyId = 1;
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

RegistryStoreOpener defaultOpener()
{
    return [](HKEY hive, RegistryAccess access) { return std::make_unique<RegistryStore>(hiveFilePath(hive), access); };
}

RegistryStoreOpener &currentOpener()
{
    static RegistryStoreOpener opener = defaultOpener();
    return opener;
}
} // namespace

QString RegistryBatch::problem() const
{
    for (const Change &change : m_changes) {
        const KeyPath path = parseKeyPath(change.key);
        if (!path.problem.isEmpty()) return path.problem;
        if (change.kind == Kind::DeleteKey && path.names.isEmpty())
            return QStringLiteral("the root of a hive cannot be deleted");
        if (change.kind == Kind::SetValue || change.kind == Kind::AddValue || change.kind == Kind::DeleteValue) {
            if (const QString problem = valueNameProblem(change.name); !problem.isEmpty()) return problem;
        }
    }
    return {};
}

namespace {
// A batch's changes in the pieces that stand or go together: a deleted key with what fills it again, or one
// change alone.
QList<QList<RegistryBatch::Change>> units(const QList<RegistryBatch::Change> &changes)
{
    QList<QList<RegistryBatch::Change>> units;
    for (qsizetype i = 0; i < changes.size(); ++i) {
        QList<RegistryBatch::Change> unit{changes[i]};
        if (changes[i].kind == RegistryBatch::Kind::DeleteKey) {
            while (i + 1 < changes.size() && changes[i + 1].kind != RegistryBatch::Kind::DeleteKey &&
                   changes[i + 1].key == changes[i].key)
                unit.append(changes[++i]);
        }
        units.append(unit);
    }
    return units;
}
} // namespace

RegistryBatch RegistryBatch::without(const RegistryBatch &baseline,
                                     const std::function<bool(const QString &name)> &stored) const
{
    const QList<QList<Change>> unchanged = units(baseline.m_changes);
    RegistryBatch rest;
    for (const QList<Change> &unit : units(m_changes)) {
        if (!unchanged.contains(unit))
            rest.m_changes.append(unit);
        else if (const Change &change = unit.constFirst();
                 stored && change.kind == Kind::SetValue && !stored(change.name))
            rest.addValue(change.key, change.name, change.value);
    }
    return rest;
}

RegistryStore::RegistryStore(QString filePath, RegistryAccess access)
    : m_filePath(std::move(filePath)), m_access(access)
{
}

RegistryStore::~RegistryStore()
{
    m_statements.clear();
    sqlite3_close(m_db);
}

template <typename Work> auto RegistryStore::waitingForLocks(Work work) -> decltype(work())
{
    BusyHives &busyHives = knownBusyHives();
    const bool knownBusy = busyHives.contains(m_filePath);
    m_lockDeadline = Clock::now() + (knownBusy ? Clock::duration::zero() : LockWait);
    try {
        auto result = retryWhileBusy(m_lockDeadline, [&] {
            if (m_db) sqlite3_busy_timeout(m_db, millisecondsLeft(m_lockDeadline));
            return work();
        });
        if (knownBusy) busyHives.mark(m_filePath, false);
        return result;
    } catch (const BusyError &) {
        busyHives.mark(m_filePath, true);
        throw;
    }
}

template <typename Read>
auto RegistryStore::readKey(const QString &key, Read read) -> std::optional<decltype(read(qint64()))>
{
    const KeyPath path = parseKeyPath(key);
    if (!path.problem.isEmpty()) return std::nullopt;
    return waitingForLocks([&]() -> std::optional<decltype(read(qint64()))> {
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
    const KeyPath path = parseKeyPath(key);
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

KeyValues RegistryStore::values(const QString &key)
{
    return readKey(key, [this](qint64 id) { return valuesOf(id); }).value_or(KeyValues());
}

KeyValues RegistryStore::valuesOf(qint64 key)
{
    Statement &query = statement("SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY id");
    query.bind(1, key);
    KeyValues found;
    while (query.step())
        found.append({query.text(0), RegistryValue{std::uint32_t(query.integer(1)), query.blob(2)}});
    query.reset();
    return found;
}

std::optional<RegistryValue> RegistryStore::value(const QString &key, const QString &name)
{
    if (!valueNameProblem(name).isEmpty()) return std::nullopt;
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

void RegistryStore::apply(const RegistryBatch &batch, MergedValues *merged)
{
    if (const QString problem = batch.problem(); !problem.isEmpty()) fail(problem);
    waitingForLocks([&] {
        connectForWriting();
        Transaction transaction(*this, "BEGIN IMMEDIATE");
        if (!m_hasSchema) exec(SchemaSql);
        for (const RegistryBatch::Change &change : batch.changes())
            applyChange(change);
        if (merged) applyMerge(*merged);
        transaction.commit();
        m_hasSchema = true;
        return true;
    });
    if (merged) merged->merged();
}

void RegistryStore::applyMerge(MergedValues &merged)
{
    const KeyPath path = parseKeyPath(merged.mergedKey());
    if (!path.problem.isEmpty()) fail(path.problem);
    const std::optional<qint64> id = findKey(path.names);
    const RegistryBatch changes = merged.mergeInto(id ? valuesOf(*id) : KeyValues());
    if (const QString problem = changes.problem(); !problem.isEmpty()) fail(problem);
    for (const RegistryBatch::Change &change : changes.changes())
        applyChange(change);
}

void RegistryStore::verifyIntact()
{
    if (waitingForLocks([this] { return connectForReading(); })) requireIntact();
}

// Key paths and value names were checked for the whole batch before it began.
void RegistryStore::applyChange(const RegistryBatch::Change &change)
{
    const QStringList names = parseKeyPath(change.key).names;
    switch (change.kind) {
    case RegistryBatch::Kind::CreateKey:
        createKey(names);
        return;
    case RegistryBatch::Kind::DeleteKey:
        if (const auto id = findKey(names)) statement("DELETE FROM keys WHERE id = ?1").bind(1, *id).run();
        return;
    case RegistryBatch::Kind::SetValue:
    case RegistryBatch::Kind::AddValue:
        // An existing value keeps its place in the list and the case of its name; an added one leaves it be.
        statement(change.kind == RegistryBatch::Kind::SetValue
                      ? "INSERT INTO vals(key, name, type, data) VALUES(?1, ?2, ?3, ?4)"
                        " ON CONFLICT(key, name) DO UPDATE SET type = excluded.type, data = excluded.data"
                      : "INSERT INTO vals(key, name, type, data) VALUES(?1, ?2, ?3, ?4)"
                        " ON CONFLICT(key, name) DO NOTHING")
            .bind(1, createKey(names))
            .bind(2, change.name)
            .bind(3, qint64(change.value.type))
            .bind(4, change.value.data)
            .run();
        return;
    case RegistryBatch::Kind::DeleteValue:
        if (const auto id = findKey(names))
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

void RegistryStore::requireAbsolutePath() const
{
    if (!QDir::isAbsolutePath(m_filePath))
        fail(QStringLiteral("its folder is not an absolute path; TINTWELL_REGISTRY_DIR must name one"),
             RegistryFault::NoFolder);
}

// A folder, a FIFO or a link to nothing in the hive's place is named as what it is.
void RegistryStore::requireAFile() const
{
    if (const QString inTheWay = whatIsInTheWay(m_filePath); !inTheWay.isEmpty())
        fail(inTheWay + QStringLiteral(", not a registry hive"), RegistryFault::Damaged);
}

// A hive this process may not write is read as it stands, without the write-ahead log's index, which
// SQLite would otherwise create beside it: in a folder that may not be written it cannot, and beside a
// file that may not be written it would leave an index that no later writer could use. A log that holds
// commits is read through its index, which then already exists.
bool RegistryStore::connectForReading()
{
    if (m_hasSchema) return true;
    requireAbsolutePath();
    requireAFile();
    const QFileInfo file(m_filePath);
    if (!file.exists()) return false;
    if (file.size() == 0) fail(QStringLiteral("an empty file, not a registry hive"), RegistryFault::Damaged);
    const bool logHoldsCommits = QFileInfo(m_filePath + QStringLiteral("-wal")).size() > 0;
    try {
        if (!m_db) openConnection(!logHoldsCommits && !(isWritable(m_filePath) && isWritable(file.absolutePath())));
        identify();
    } catch (const RegistryStoreError &error) {
        // No index could be opened or made for the log here (a read-only folder without it, a full disk). What
        // the hive is, or who holds it, stays as told.
        const RegistryFault fault = error.fault();
        if (m_immutable || m_copy || fault == RegistryFault::Damaged || fault == RegistryFault::NotAHive ||
            fault == RegistryFault::Busy)
            throw;
        closeConnection();
        if (!logHoldsCommits || !openPrivateCopy()) openConnection(true);
        identify();
    }
    return m_hasSchema;
}

// The hive with the commits of its log, read from a copy of both in a folder of this process's own, where
// SQLite makes the log's index itself; false when no copy can be made (what the hive holds without its log is
// then better than nothing).
bool RegistryStore::openPrivateCopy()
{
    auto copy = std::make_unique<QTemporaryDir>();
    const QString hive = copy->filePath(QStringLiteral("hive.db"));
    if (!copy->isValid() || !QFile::copy(m_filePath, hive) ||
        !QFile::copy(m_filePath + QStringLiteral("-wal"), hive + QStringLiteral("-wal")))
        return false;
    m_copy = std::move(copy);
    openConnection(false, hive);
    return true;
}

void RegistryStore::connectForWriting()
{
    if (m_access == RegistryAccess::ReadOnly) fail(QStringLiteral("opened for reading only"));
    if (m_writable) return;
    requireAbsolutePath();
    requireAFile();
    if (!QFileInfo::exists(m_filePath)) createHiveFile();
    if (QFileInfo(m_filePath).size() == 0)
        fail(QStringLiteral("an empty file, not a registry hive"), RegistryFault::Damaged);
    requireWritableFiles();
    if (m_immutable) closeConnection();
    if (!m_db) openConnection(false);
    identify();
    requireIntact();
    useWriteAheadLog();
    m_writable = true;
}

// A reader of a hive it could not write may have left the log and its index read-only; SQLite would then
// refuse every write. They are this user's, so they take the hive's own mode back.
void RegistryStore::requireWritableFiles() const
{
    if (!isWritable(m_filePath)) failWithErrno(QStringLiteral("cannot be written"), errno);
    struct stat hive = {};
    if (::stat(fileName(m_filePath).constData(), &hive) != 0) failWithErrno(QStringLiteral("cannot be read"), errno);
    // Another copy of the program removes both as it closes the hive's last connection, at any moment: a file
    // that is gone, before or during the check, stands in no write's way.
    for (const char *suffix : {"-wal", "-shm"}) {
        const QString path = m_filePath + QLatin1String(suffix);
        if (isWritable(path) || errno == ENOENT) continue;
        if (::chmod(fileName(path).constData(), hive.st_mode & 0666) != 0 && errno != ENOENT) {
            const int error = errno;
            failWithErrno(QStringLiteral("its file %1 cannot be written").arg(QDir::toNativeSeparators(path)), error);
        }
    }
}

// A new hive is set up complete under a private name and moved into place only when every step of that
// succeeded, which fails if another copy of the program got there first. So no copy ever opens a hive that
// is half set up, not even one cut short by a full disk, and the file is private from the start; its
// write-ahead log and index take the same mode.
void RegistryStore::createHiveFile() const
{
    const QFileInfo hive(m_filePath);
    if (!makePrivateDirectory(hive.absolutePath())) failWithErrno(QStringLiteral("cannot create its folder"), errno);
    QByteArray draftName = fileName(hive.absolutePath() + QStringLiteral("/.") + hive.fileName() + "-XXXXXX");
    const int draftFile = ::mkostemp(draftName.data(), O_CLOEXEC);
    if (draftFile < 0) failWithErrno(QStringLiteral("cannot create a new hive"), errno);
    ::close(draftFile);
    const QString draftPath = QFile::decodeName(draftName);
    const auto removeDraft = qScopeGuard([&draftPath] {
        for (const char *suffix : {"", "-journal", "-wal", "-shm"})
            QFile::remove(draftPath + QLatin1String(suffix));
    });
    try {
        RegistryStore(draftPath, RegistryAccess::ReadWrite).buildEmptyHive();
    } catch (const RegistryStoreError &error) {
        throw RegistryStoreError(describe(QStringLiteral("a new hive could not be set up (%1)").arg(error.message())),
                                 error.fault(), m_filePath);
    }
    if (!renameWithoutReplacing(draftPath, m_filePath) && errno != EEXIST)
        failWithErrno(QStringLiteral("cannot create a new hive"), errno);
    syncFolder(hive.absolutePath());
}

// Built with a rollback journal, switched to the write-ahead log last, checked and closed: a step that
// fails, a full disk's among them, raises, and nothing of the draft is left behind in a log.
void RegistryStore::buildEmptyHive()
{
    openConnection(false);
    {
        Transaction transaction(*this, "BEGIN IMMEDIATE");
        exec(SchemaSql);
        transaction.commit();
    }
    useWriteAheadLog();
    requireIntact();
    closeConnection();
    for (const char *suffix : {"-journal", "-wal"})
        if (QFileInfo::exists(m_filePath + QLatin1String(suffix)))
            fail(QStringLiteral("a new hive could not be written completely"));
}

void RegistryStore::openConnection(bool immutable, const QString &copy)
{
    QByteArray name = fileName(copy.isEmpty() ? m_filePath : copy);
    int flags = m_access == RegistryAccess::ReadOnly || immutable ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (immutable) {
        name = "file:" + name.toPercentEncoding("/") + "?immutable=1";
        flags |= SQLITE_OPEN_URI;
    }
    const int result = sqlite3_open_v2(name.constData(), &m_db, flags, nullptr);
    if (result != SQLITE_OK) {
        const int systemError = m_db ? sqlite3_system_errno(m_db) : 0;
        sqlite3_close(m_db);
        m_db = nullptr;
        // SQLite's own words ("unable to open database file") do not say why; the system's do.
        QString problem = QString::fromUtf8(sqlite3_errstr(result));
        if (systemError != 0) problem += QStringLiteral(": ") + errnoText(systemError);
        fail(problem, faultOfResult(result, systemError));
    }
    m_immutable = immutable;
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, millisecondsLeft(m_lockDeadline));
    exec("PRAGMA foreign_keys = ON");
}

void RegistryStore::closeConnection()
{
    m_statements.clear();
    const int result = sqlite3_close(m_db);
    m_db = nullptr;
    m_hasSchema = false;
    m_writable = false;
    if (result != SQLITE_OK) fail(QString::fromUtf8(sqlite3_errstr(result)), faultOfResult(result, 0));
}

// Tells a hive of this program from an empty database, which becomes one at the first write, and from
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
        fail(QStringLiteral("an SQLite database of another program, not a registry hive; left as it is"),
             RegistryFault::NotAHive);
    }
}

void RegistryStore::requireIntact()
{
    Statement &check = statement("PRAGMA quick_check(1)");
    const QString verdict = check.step() ? check.text(0) : QString();
    check.reset();
    if (verdict != QLatin1String("ok"))
        fail(QStringLiteral("damaged (%1); left as it is").arg(verdict), RegistryFault::Damaged);
}

void RegistryStore::useWriteAheadLog()
{
    Statement &mode = statement("PRAGMA journal_mode = WAL");
    const QString journalMode = mode.step() ? mode.text(0) : QString();
    mode.reset();
    if (journalMode != QLatin1String("wal"))
        fail(QStringLiteral("cannot use a write-ahead log"), faultOfErrno(sqlite3_system_errno(m_db)));
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
    if (primaryCode == SQLITE_BUSY || primaryCode == SQLITE_LOCKED) throw BusyError(describe(problem), m_filePath);
    fail(problem, faultOfResult(resultCode, m_db ? sqlite3_system_errno(m_db) : 0));
}

QString RegistryStore::describe(const QString &problem) const
{
    return QStringLiteral("registry hive %1: %2").arg(QDir::toNativeSeparators(m_filePath), problem);
}

void RegistryStore::fail(const QString &problem, RegistryFault fault) const
{
    throw RegistryStoreError(describe(problem), fault, m_filePath);
}

void RegistryStore::failWithErrno(const QString &problem, int error) const
{
    fail(QStringLiteral("%1: %2").arg(problem, errnoText(error)), faultOfErrno(error));
}

std::unique_ptr<RegistryStore> openRegistryStore(HKEY hive, RegistryAccess access)
{
    return currentOpener()(hive, access);
}

RegistryStoreOpener setRegistryStoreOpener(RegistryStoreOpener opener)
{
    return std::exchange(currentOpener(), opener ? std::move(opener) : defaultOpener());
}

} // namespace registry
