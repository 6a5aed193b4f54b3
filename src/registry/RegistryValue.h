// A typed registry value as Windows keeps it: a type number and the raw data bytes. Strings are held as
// UTF-16LE with a terminating NUL, so that values and .reg files mean the same bytes as on Windows.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

enum RegDataType : std::uint32_t {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_DWORD_BIG_ENDIAN = 5,
    REG_MULTI_SZ = 7,
    REG_QWORD = 11,
};

struct RegistryValue
{
    std::uint32_t type = REG_NONE;
    QByteArray data;

    static RegistryValue fromString(const QString &text, std::uint32_t type = REG_SZ);
    static RegistryValue fromDword(std::uint32_t number);
    static RegistryValue fromDwordBigEndian(std::uint32_t number);
    static RegistryValue fromQword(std::uint64_t number);
    static RegistryValue fromMultiString(const QStringList &texts);

    bool operator==(const RegistryValue &) const = default;
};

// "REG_SZ" and the like; a type without a name gives an empty text.
QString RegTypeName(std::uint32_t type);
std::optional<std::uint32_t> RegTypeFromName(const QString &name);

// UTF-16LE text with a terminating NUL, and back. Decoding stops at the first NUL, as Windows readers do,
// and also reads data that lacks the terminator or has an odd trailing byte.
QByteArray EncodeRegString(const QString &text);
QString DecodeRegString(const QByteArray &data);
// Exactly the bytes EncodeRegString makes for some text: even length, one NUL at the end and no other,
// valid UTF-16. Only such data may be shown as plain text without losing anything.
bool IsPlainRegString(const QByteArray &data);
// The texts of REG_MULTI_SZ data: NUL-separated strings ended by an empty one.
QStringList DecodeRegMultiString(const QByteArray &data);

std::optional<std::uint32_t> DecodeRegDword(const RegistryValue &value); // REG_DWORD of exactly four bytes
