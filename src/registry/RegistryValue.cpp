#include "RegistryValue.h"

#include <QtEndian>

#include <array>
#include <utility>

namespace registry {

namespace {
constexpr std::array<std::pair<std::uint32_t, const char *>, 8> TypeNames{{
    {REG_NONE, "REG_NONE"},
    {REG_SZ, "REG_SZ"},
    {REG_EXPAND_SZ, "REG_EXPAND_SZ"},
    {REG_BINARY, "REG_BINARY"},
    {REG_DWORD, "REG_DWORD"},
    {REG_DWORD_BIG_ENDIAN, "REG_DWORD_BIG_ENDIAN"},
    {REG_MULTI_SZ, "REG_MULTI_SZ"},
    {REG_QWORD, "REG_QWORD"},
}};

template <typename T> QByteArray rawBytes(T number)
{
    return QByteArray(reinterpret_cast<const char *>(&number), sizeof number);
}

char16_t utf16UnitAt(const QByteArray &data, qsizetype i)
{
    return char16_t(quint8(data[i]) | quint8(data[i + 1]) << 8);
}
} // namespace

RegistryValue RegistryValue::fromString(const QString &text, std::uint32_t type)
{
    return {type, encodeRegString(text)};
}

RegistryValue RegistryValue::fromDword(std::uint32_t number)
{
    return {REG_DWORD, rawBytes(qToLittleEndian(number))};
}

RegistryValue RegistryValue::fromDwordBigEndian(std::uint32_t number)
{
    return {REG_DWORD_BIG_ENDIAN, rawBytes(qToBigEndian(number))};
}

RegistryValue RegistryValue::fromQword(std::uint64_t number)
{
    return {REG_QWORD, rawBytes(qToLittleEndian(number))};
}

RegistryValue RegistryValue::fromMultiString(const QStringList &texts)
{
    QByteArray data;
    for (const QString &text : texts)
        data += encodeRegString(text);
    data += encodeRegString(QString());
    return {REG_MULTI_SZ, data};
}

QString regTypeName(std::uint32_t type)
{
    for (const auto &[number, name] : TypeNames)
        if (number == type) return QString::fromLatin1(name);
    return {};
}

std::optional<std::uint32_t> regTypeFromName(const QString &name)
{
    for (const auto &[number, typeName] : TypeNames)
        if (name.compare(QLatin1String(typeName), Qt::CaseInsensitive) == 0) return number;
    return std::nullopt;
}

QByteArray encodeRegString(const QString &text)
{
    QByteArray data(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    if constexpr (QSysInfo::ByteOrder == QSysInfo::BigEndian)
        for (qsizetype i = 0; i + 1 < data.size(); i += 2)
            std::swap(data[i], data[i + 1]);
    return data.append(2, '\0');
}

QString decodeRegString(const QByteArray &data)
{
    QString text;
    for (qsizetype i = 0; i + 1 < data.size(); i += 2) {
        const char16_t unit = utf16UnitAt(data, i);
        if (unit == 0) return text;
        text.append(QChar(unit));
    }
    // Data of an odd length, as a writer that counted the terminator in bytes leaves it: its last byte is the
    // low half of a last character, not to be dropped.
    if (data.size() % 2 != 0 && data.back() != '\0')
        text.append(QChar(char16_t(static_cast<unsigned char>(data.back()))));
    return text;
}

bool isPlainRegString(const QByteArray &data)
{
    if (data.size() < 2 || data.size() % 2 != 0 || !data.endsWith(QByteArray(2, '\0'))) return false;
    const QString text = decodeRegString(data);
    return (text.size() + 1) * 2 == data.size() && QStringView(text).isValidUtf16();
}

QStringList decodeRegMultiString(const QByteArray &data)
{
    QStringList texts;
    QString current;
    for (qsizetype i = 0; i + 1 < data.size(); i += 2) {
        const char16_t unit = utf16UnitAt(data, i);
        if (unit != 0) {
            current.append(QChar(unit));
            continue;
        }
        if (current.isEmpty()) break;
        texts.append(std::exchange(current, QString()));
    }
    if (!current.isEmpty()) texts.append(current);
    return texts;
}

std::optional<std::uint32_t> decodeRegDword(const RegistryValue &value)
{
    if (value.type != REG_DWORD || value.data.size() != 4) return std::nullopt;
    return qFromLittleEndian<std::uint32_t>(value.data.constData());
}

std::optional<QString> decodeRegText(const RegistryValue &value)
{
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) return std::nullopt;
    return decodeRegString(value.data);
}

std::optional<qint32> decodeRegInteger(const RegistryValue &value)
{
    const std::optional<QString> text = decodeRegText(value);
    bool number = false;
    const qint32 integer = text ? text->trimmed().toInt(&number) : 0;
    return number ? std::optional(integer) : std::nullopt;
}

} // namespace registry
