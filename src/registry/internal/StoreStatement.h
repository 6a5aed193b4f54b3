// The store's SQLite statements, prepared once and kept, and its transactions, which roll back unless
// committed. For RegistryStore's own files only.
#pragma once

#include "RegistryStore.h"

#include <sqlite3.h>

#include <optional>

namespace registry {

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

} // namespace registry
