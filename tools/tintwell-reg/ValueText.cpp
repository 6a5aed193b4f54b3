#include "ValueText.h"

#include <QtEndian>

#include <algorithm>
#include <limits>
#include <stdexcept>

using namespace registry;

namespace {
QString hexPairs(const QByteArray &data)
{
    return QString::fromLatin1(data.toHex().toUpper());
}

// Negative numbers are taken in two's complement, as the 32- and 64-bit integers they are stored for.
std::optional<quint64> parseNumber(const QString &text, int bits)
{
    const quint64 largest = bits == 64 ? std::numeric_limits<quint64>::max() : (quint64(1) << bits) - 1;
    const qint64 smallest = bits == 64 ? std::numeric_limits<qint64>::min() : -(qint64(1) << (bits - 1));
    bool ok = false;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const quint64 number = text.mid(2).toULongLong(&ok, 16);
        if (ok && number <= largest) return number;
    } else if (text.startsWith(u'-')) {
        const qint64 number = text.toLongLong(&ok, 10);
        if (ok && number >= smallest) return quint64(number) & largest;
    } else {
        const quint64 number = text.toULongLong(&ok, 10);
        if (ok && number <= largest) return number;
    }
    return std::nullopt;
}

quint64 requireNumber(std::uint32_t type, const QString &text, int bits)
{
    if (text.isEmpty()) return 0;
    const auto number = parseNumber(text, bits);
    if (!number)
        throw std::invalid_argument(QStringLiteral("Invalid %1 data: %2").arg(regTypeName(type), text).toStdString());
    return *number;
}

// Checked without a regular expression, whose repeated group gives up on long data.
QByteArray requireHexPairs(std::uint32_t type, const QString &text)
{
    const auto isHexDigit = [](QChar c) { return hexDigitValue(c.unicode()) >= 0; };
    if (text.size() % 2 != 0 || !std::all_of(text.begin(), text.end(), isHexDigit))
        throw std::invalid_argument(QStringLiteral("Invalid %1 data: %2 (expected pairs of hexadecimal digits)")
                                        .arg(valueTypeText(type), text)
                                        .toStdString());
    return QByteArray::fromHex(text.toLatin1());
}
} // namespace

QString valueTypeText(std::uint32_t type)
{
    const QString name = regTypeName(type);
    return name.isEmpty() ? QStringLiteral("0x%1").arg(type, 0, 16) : name;
}

QString valueDataText(const RegistryValue &value)
{
    switch (value.type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
        return decodeRegString(value.data);
    case REG_MULTI_SZ:
        return decodeRegMultiString(value.data).join(QStringLiteral("\\0"));
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN:
        if (value.data.size() != 4) break;
        return QStringLiteral("0x%1").arg(value.type == REG_DWORD ? qFromLittleEndian<quint32>(value.data.constData())
                                                                  : qFromBigEndian<quint32>(value.data.constData()),
                                          0, 16);
    case REG_QWORD:
        if (value.data.size() != 8) break;
        return QStringLiteral("0x%1").arg(qFromLittleEndian<quint64>(value.data.constData()), 0, 16);
    }
    return hexPairs(value.data);
}

RegistryValue valueFromText(std::uint32_t type, const QString &text)
{
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
        return RegistryValue::fromString(text, type);
    case REG_MULTI_SZ:
        return RegistryValue::fromMultiString(text.isEmpty() ? QStringList() : text.split(QStringLiteral("\\0")));
    case REG_DWORD:
        return RegistryValue::fromDword(quint32(requireNumber(type, text, 32)));
    case REG_DWORD_BIG_ENDIAN:
        return RegistryValue::fromDwordBigEndian(quint32(requireNumber(type, text, 32)));
    case REG_QWORD:
        return RegistryValue::fromQword(requireNumber(type, text, 64));
    }
    return {type, requireHexPairs(type, text)};
}
