// Helpers for tests of stored state: a private registry folder per test, a registry that may be read but
// not written, and a small disk that fills up.
#pragma once

#include "RegistryStore.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/statvfs.h>
#include <unistd.h>

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
        : m_previous(registry::setRegistryStoreOpener([](registry::HKEY hive, registry::RegistryAccess access) {
              if (access == registry::RegistryAccess::ReadWrite)
                  throw registry::RegistryStoreError(QStringLiteral("writing refused"));
              return std::make_unique<registry::RegistryStore>(registry::hiveFilePath(hive), access);
          }))
    {
    }
    ~RefusedWrites() { registry::setRegistryStoreOpener(m_previous); }
    RefusedWrites(const RefusedWrites &) = delete;
    RefusedWrites &operator=(const RefusedWrites &) = delete;

private:
    registry::RegistryStoreOpener m_previous;
};

// A tmpfs of 256 KiB, mounted while it lives; only root may mount one (isMounted says whether it is).
class SmallDisk
{
public:
    SmallDisk()
        : m_mounted(geteuid() == 0 && QProcess::execute(QStringLiteral("mount"),
                                                        {"-t", "tmpfs", "-o", "size=256k", "tmpfs", m_dir.path()}) == 0)
    {
    }
    ~SmallDisk()
    {
        if (m_mounted) QProcess::execute(QStringLiteral("umount"), {m_dir.path()});
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool isMounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }

    // Takes all the free space but about `left` bytes.
    void fill(qint64 left = 0)
    {
        struct statvfs disk = {};
        if (statvfs(m_dir.path().toLocal8Bit().constData(), &disk) != 0) return;
        QFile filler(fillerPath());
        if (!filler.open(QIODevice::Append)) return;
        const QByteArray block(4096, '\0');
        for (qint64 free = qint64(disk.f_bavail) * qint64(disk.f_frsize); free > left; free -= block.size())
            if (filler.write(block) != block.size() || !filler.flush()) break;
    }
    void clear() { QFile::remove(fillerPath()); }

private:
    QString fillerPath() const { return m_dir.filePath(QStringLiteral("filler")); }

    QTemporaryDir m_dir;
    bool m_mounted;
};
