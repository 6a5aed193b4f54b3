// Helpers for tests of stored state: a private registry folder per test, and a registry that may be
// read but not written.
#pragma once

#include "RegistryStore.h"

#include <QTemporaryDir>

// Points the registry at a fresh temporary folder for as long as it lives.
class TempRegistry
{
public:
    TempRegistry() { qputenv("TINTWELL_REGISTRY_DIR", m_dir.path().toLocal8Bit()); }
    ~TempRegistry() { qunsetenv("TINTWELL_REGISTRY_DIR"); }
    TempRegistry(const TempRegistry &) = delete;
    TempRegistry &operator=(const TempRegistry &) = delete;

    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// While it lives no hive can be opened for writing, as with a store on a medium the user may only read.
class RefusedWrites
{
public:
    RefusedWrites()
        : m_previous(SetRegistryStoreOpener([](HKEY hive, RegistryAccess access) {
              if (access == RegistryAccess::ReadWrite) throw RegistryStoreError(QStringLiteral("writing refused"));
              return std::make_unique<RegistryStore>(HiveFilePath(hive), access);
          }))
    {
    }
    ~RefusedWrites() { SetRegistryStoreOpener(m_previous); }
    RefusedWrites(const RefusedWrites &) = delete;
    RefusedWrites &operator=(const RefusedWrites &) = delete;

private:
    RegistryStoreOpener m_previous;
};
