#include "RegFile.h"

#include <QStringDecoder>

namespace registry {

namespace {
const QString Version5Header = QStringLiteral("Windows Registry Editor Version 5.00");
const QString Version4Header = QStringLiteral("REGEDIT4");
constexpr qsizetype HexLineWidth = 77; // as regedit wraps long data

QString decodeText(const QByteArray &bytes)
{
    const bool utf16 = bytes.startsWith("\xFF\xFE");
    if (utf16 && bytes.size() % 2 != 0)
        throw RegFileError(0, QStringLiteral("the UTF-16 text ends in half a character"));
    QStringDecoder decoder(utf16 ? QStringConverter::Utf16LE : QStringConverter::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError() || !QStringView(text).isValidUtf16())
        throw RegFileError(0, utf16 ? QStringLiteral("not valid UTF-16 text") : QStringLiteral("not valid UTF-8 text"));
    return text;
}

// A hexadecimal number of 1 to maxDigits digits and nothing else.
std::optional<quint32> hexNumber(QStringView text, qsizetype maxDigits)
{
    if (text.isEmpty() || text.size() > maxDigits) return std::nullopt;
    quint32 number = 0;
    for (const QChar c : text) {
        const int digit = hexDigitValue(c.unicode());
        if (digit < 0) return std::nullopt;
        number = number << 4 | quint32(digit);
    }
    return number;
}

// The text of a REGEDIT4 file is 8-bit; its expandable and multi-string data are 8-bit too.
QByteArray widenBytes(const QByteArray &bytes)
{
    QByteArray wide;
    for (const char byte : bytes)
        wide.append(byte).append('\0');
    return wide;
}

QString quoted(const QString &text)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            quoted += QStringLiteral("\\\\");
            break;
        case '"':
            quoted += QStringLiteral("\\\"");
            break;
        case '\n':
            quoted += QStringLiteral("\\n");
            break;
        case '\r':
            quoted += QStringLiteral("\\r");
            break;
        default:
            quoted += c;
        }
    }
    return quoted + u'"';
}

// lineStart is all that stands before the bytes, so that wrapping counts it.
QString formatHexData(const QString &lineStart, const QByteArray &data)
{
    QString line = lineStart;
    qsizetype width = line.size();
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (i > 0) {
            line += u',';
            ++width;
            if (width + 3 > HexLineWidth) {
                line += QStringLiteral("\\\n  ");
                width = 2;
            }
        }
        line += QStringLiteral("%1").arg(quint8(data[i]), 2, 16, QLatin1Char('0'));
        width += 2;
    }
    return line;
}

QString formatValueLine(const RegFileValue &entry)
{
    const QString start = (entry.name.isEmpty() ? QStringLiteral("@") : quoted(entry.name)) + u'=';
    const std::optional<RegistryValue> &value = entry.value;
    if (!value) return start + u'-';
    if (value->type == REG_SZ && isPlainRegString(value->data)) return start + quoted(decodeRegString(value->data));
    if (const auto number = decodeRegDword(*value))
        return start + QStringLiteral("dword:%1").arg(*number, 8, 16, QLatin1Char('0'));
    if (value->type == REG_BINARY) return formatHexData(start + QStringLiteral("hex:"), value->data);
    return formatHexData(start + QStringLiteral("hex(%1):").arg(value->type, 0, 16), value->data);
}

class Parser
{
public:
    explicit Parser(const QString &text) : m_lines(text.split(u'\n'))
    {
        if (m_lines.size() > 1 && m_lines.last().isEmpty()) {
            m_lines.removeLast(); // the last line's end
        } else if (!m_lines.last().trimmed().isEmpty()) {
            m_cutShort = true;
        }
    }

    RegFile parse()
    {
        // A file ends with its last line's end (an export with an empty line): a last line without one was cut
        // off, and what it says may be only the start of what it said, a number's first digits say.
        if (m_cutShort)
            throw RegFileError(int(m_lines.size()), QStringLiteral("the file ends inside this line; it is cut short"));
        readHeader();
        while (nextLine()) {
            if (m_line.isEmpty() || m_line.startsWith(u';')) continue;
            if (m_line.startsWith(u'[')) {
                readKey();
            } else {
                readValue();
            }
        }
        return m_file;
    }

private:
    bool nextLine()
    {
        if (m_index >= m_lines.size()) return false;
        QStringView line(m_lines[m_index++]);
        if (line.contains(QChar(0))) fail(QStringLiteral("holds a NUL character"));
        m_line = line.trimmed();
        return true;
    }

    [[noreturn]] void fail(const QString &problem) const { throw RegFileError(int(m_index), problem); }

    void readHeader()
    {
        while (nextLine() && m_line.isEmpty()) {
        }
        if (m_line == Version5Header) return;
        if (m_line != Version4Header)
            fail(QStringLiteral("expected \"%1\" or \"%2\"").arg(Version5Header, Version4Header));
        m_version4 = true;
    }

    void readKey()
    {
        if (!m_line.endsWith(u']')) fail(QStringLiteral("a key line must end with ]"));
        QStringView path = m_line.mid(1, m_line.size() - 2);
        RegFileKey key;
        key.remove = path.startsWith(u'-');
        if (key.remove) path = path.mid(1);
        if (path.isEmpty()) fail(QStringLiteral("a key line without a key"));
        key.path = path.toString();
        m_file.append(key);
    }

    void readValue()
    {
        if (m_file.isEmpty()) fail(QStringLiteral("a value before the first key"));
        if (m_file.last().remove) fail(QStringLiteral("a value under a key that is being deleted"));
        qsizetype pos = 0;
        RegFileValue value;
        if (m_line.startsWith(u'@')) {
            pos = 1;
        } else if (m_line.startsWith(u'"')) {
            value.name = readQuoted(m_line, pos);
        } else {
            fail(QStringLiteral("expected a quoted value name or @"));
        }
        const QStringView rest = m_line.mid(pos).trimmed();
        if (!rest.startsWith(u'=')) fail(QStringLiteral("expected = after the value name"));
        value.value = readData(rest.mid(1).trimmed().toString());
        m_file.last().values.append(value);
    }

    // The quoted text at pos; pos moves past the closing quote.
    QString readQuoted(QStringView line, qsizetype &pos) const
    {
        QString text;
        for (++pos; pos < line.size(); ++pos) {
            const QChar c = line[pos];
            if (c == u'"') {
                ++pos;
                return text;
            }
            if (c != u'\\') {
                text += c;
                continue;
            }
            if (++pos == line.size()) break;
            switch (line[pos].unicode()) {
            case '\\':
            case '"':
                text += line[pos];
                break;
            case 'n':
                text += u'\n';
                break;
            case 'r':
                text += u'\r';
                break;
            default:
                fail(QStringLiteral("unknown escape \\%1 in a quoted text").arg(line[pos]));
            }
        }
        fail(QStringLiteral("a quoted text without its closing quote"));
    }

    std::optional<RegistryValue> readData(QString data)
    {
        if (data == u'-') return std::nullopt;
        if (data.startsWith(u'"')) {
            qsizetype pos = 0;
            const QString text = readQuoted(data, pos);
            if (pos != data.size()) fail(QStringLiteral("unexpected text after the quoted data"));
            return RegistryValue::fromString(text);
        }
        if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
            const auto number = hexNumber(QStringView(data).mid(6).trimmed(), 8);
            if (!number) fail(QStringLiteral("dword data must be 1 to 8 hexadecimal digits"));
            return RegistryValue::fromDword(*number);
        }
        if (!data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) fail(QStringLiteral("unknown kind of data"));
        // Long binary data goes on over several lines, each but the last ending in a backslash.
        while (data.endsWith(u'\\')) {
            data.chop(1);
            if (!nextLine()) fail(QStringLiteral("the data goes on past the end of the file"));
            data += m_line;
        }
        return readHexData(data);
    }

    RegistryValue readHexData(const QString &data) const
    {
        const qsizetype colon = data.indexOf(u':');
        if (colon < 0) fail(QStringLiteral("expected : after hex"));
        const QStringView kind = QStringView(data).left(colon).trimmed();
        RegistryValue value{REG_BINARY, {}};
        if (kind.size() > 3) {
            const auto type = kind.size() > 5 && kind[3] == u'(' && kind.endsWith(u')')
                                  ? hexNumber(kind.mid(4, kind.size() - 5), 8)
                                  : std::nullopt;
            if (!type) fail(QStringLiteral("expected hex: or hex(type):"));
            value.type = *type;
        }
        const QStringView bytes = QStringView(data).mid(colon + 1).trimmed();
        if (!bytes.isEmpty()) {
            for (const QStringView item : bytes.split(u',')) {
                const auto byte = hexNumber(item.trimmed(), 2);
                if (!byte) fail(QStringLiteral("expected bytes as hexadecimal pairs separated by commas"));
                value.data.append(char(*byte));
            }
        }
        if (m_version4 && (value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ))
            value.data = widenBytes(value.data);
        return value;
    }

    QStringList m_lines;
    qsizetype m_index = 0;
    QStringView m_line;
    bool m_version4 = false;
    bool m_cutShort = false;
    RegFile m_file;
};
} // namespace

RegFileError::RegFileError(int line, const QString &problem)
    : std::runtime_error((line > 0 ? QStringLiteral("line %1: %2").arg(line).arg(problem) : problem).toStdString())
{
}

RegFile parseRegFile(const QByteArray &bytes)
{
    return Parser(decodeText(bytes)).parse();
}

QByteArray formatRegFile(const RegFile &file)
{
    QString text = Version5Header + QStringLiteral("\n\n");
    for (const RegFileKey &key : file) {
        text += (key.remove ? QStringLiteral("[-") : QStringLiteral("[")) + key.path + QStringLiteral("]\n");
        for (const RegFileValue &value : key.values)
            text += formatValueLine(value) + u'\n';
        text += u'\n';
    }
    return text.toUtf8();
}

} // namespace registry
