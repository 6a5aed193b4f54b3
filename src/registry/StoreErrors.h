// What the store's callers and its own parts share at the bottom of the store: how a hive is opened, the
// kinds of trouble it meets, the error that tells of them, and the limits of names.
#pragma once

#include <QString>

#include <stdexcept>
#include <utility>

namespace registry {

enum class RegistryAccess { ReadOnly, ReadWrite };

// What kind of trouble stopped a hive from being read or written, for callers that tell the user.
enum class RegistryFault {
    Other,
    Damaged,  // not a database, cut short, empty, or failing SQLite's check
    NotAHive, // a sound SQLite database of another program
    ReadOnly, // the file or its folder may not be written
    DiskFull,
    Busy,     // another program held the write lock past the wait
    NoFolder, // no absolute folder to keep the hive in
};

// Says what is wrong with which hive file, in words a user can act on.
class RegistryStoreError : public std::runtime_error
{
public:
    explicit RegistryStoreError(const QString &message, RegistryFault fault = RegistryFault::Other,
                                QString filePath = {})
        : std::runtime_error(message.toStdString()), m_fault(fault), m_filePath(std::move(filePath))
    {
    }
    QString message() const { return QString::fromUtf8(what()); }
    RegistryFault fault() const { return m_fault; }
    const QString &filePath() const { return m_filePath; } // the hive's file; empty when not known

private:
    RegistryFault m_fault;
    QString m_filePath;
};

// The limits Windows sets, in UTF-16 code units and levels.
inline constexpr qsizetype MaxKeyNameLength = 255;
inline constexpr qsizetype MaxValueNameLength = 16383;
inline constexpr qsizetype MaxKeyDepth = 512;

} // namespace registry
