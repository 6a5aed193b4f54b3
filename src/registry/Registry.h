// A registry accessor in the manner of Delphi's TRegistry: set a root, open a key (relative to the open
// key unless the path starts with '\'), then read, write, list and delete. The accessor opens its hive's
// store at first use with the access it was made with; a read-only accessor never writes.
//
// Typed reads and writes raise ERegistryException with the Win32 texts; reads and listings of a hive file
// that cannot be read let the store's RegistryStoreError through, which names the file and the problem.
#pragma once

#include "RegistryStore.h"

#include <memory>
#include <optional>
#include <stdexcept>

namespace registry {

class ERegistryException : public std::runtime_error
{
public:
    ERegistryException(const QString &message, const QString &details = {});
    QString message() const { return m_message; }
    QString details() const { return m_details; } // the underlying reason, when there is one

private:
    QString m_message;
    QString m_details;
};

class TRegistry
{
public:
    explicit TRegistry(RegistryAccess access = RegistryAccess::ReadWrite);
    ~TRegistry();
    TRegistry(TRegistry &&) noexcept;
    TRegistry &operator=(TRegistry &&) noexcept;

    HKEY rootKey() const { return m_root; }
    void setRootKey(HKEY root); // closes the open key
    QString currentPath() const { return m_currentPath; }

    // False when the key is absent and canCreate is off, or when it cannot be created.
    bool openKey(const QString &key, bool canCreate);
    void closeKey();
    void createKey(const QString &key); // raises "Failed to create key %s"
    bool deleteKey(const QString &key); // with everything under it; false when it was not there
    bool keyExists(const QString &key);

    QStringList keyNames();
    QStringList valueNames();
    bool valueExists(const QString &name);
    std::optional<RegistryValue> readValue(const QString &name);
    QString readString(const QString &name); // REG_SZ or REG_EXPAND_SZ
    qint32 readInteger(const QString &name); // REG_DWORD of exactly four bytes
    bool readBool(const QString &name);      // any non-zero integer is true

    void writeValue(const QString &name, const RegistryValue &value); // raises "Failed to set data for '%s'"
    void writeString(const QString &name, const QString &text);
    void writeExpandString(const QString &name, const QString &text);
    void writeInteger(const QString &name, qint32 number);
    void writeBool(const QString &name, bool value); // 1 or 0
    bool deleteValue(const QString &name);

    // Several changes made together or not at all; key paths are relative to the hive's root.
    void apply(const RegistryBatch &batch);

private:
    RegistryStore &store();
    QString resolve(const QString &key) const; // the key's path from the hive's root
    void createPath(const QString &path);
    RegistryValue requireValue(const QString &name);

    RegistryAccess m_access;
    HKEY m_root = HKEY_CURRENT_USER;
    QString m_currentPath; // empty while no key is open: the hive's root stands in
    std::unique_ptr<RegistryStore> m_store;
};

} // namespace registry
