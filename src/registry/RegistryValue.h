// A typed registry value as Windows keeps it: a type number and the raw data bytes. Strings are held as
// UTF-16LE with a terminating NUL, so that values and .reg files mean the same bytes as on Windows.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace registry {

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
// The value of a hexadecimal digit (0-9, A-F, a-f), or -1 for any other character.
constexpr int hexDigitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

QString regTypeName(std::uint32_t type);
std::optional<std::uint32_t> regTypeFromName(const QString &name);

// UTF-16LE text with a terminating NUL, and back. Decoding stops at the first NUL, as Windows readers do,
// and also reads data that lacks the terminator or has an odd trailing byte.
QByteArray encodeRegString(const QString &text);
QString decodeRegString(const QByteArray &data);
// Exactly the bytes encodeRegString makes for some text: even length, one NUL at the end and no other,
// valid UTF-16. Only such data may be shown as plain text without losing anything.
bool isPlainRegString(const QByteArray &data);
// The texts of REG_MULTI_SZ data: NUL-separated strings ended by an empty one.
QStringList decodeRegMultiString(const QByteArray &data);

std::optional<std::uint32_t> decodeRegDword(const RegistryValue &value); // REG_DWORD of exactly four bytes
// The text of a REG_SZ or REG_EXPAND_SZ; nothing for a value of another type, say a REG_DWORD written by hand.
std::optional<QString> decodeRegText(const RegistryValue &value);
// That text as a decimal integer, blanks around it allowed, as the program's window state keeps its numbers;
// nothing for a value of another type or text that is no such integer.
std::optional<qint32> decodeRegInteger(const RegistryValue &value);

} // namespace registry
