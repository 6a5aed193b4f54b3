#include "GimpPalette.h"

#include <utility>

using namespace colour;

namespace {

const QByteArray Magic = "GIMP Palette";
constexpr int Columns = 12; // as the window shows its slots

// A piece of a line, quoted short enough for one line of a message, its control characters (a NUL among
// them) written as \xNN.
QString Quoted(QStringView text)
{
    QString shown;
    for (const QChar c : text.left(40)) {
        if (c.category() == QChar::Other_Control)
            shown += QStringLiteral("\\x") + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
        else
            shown += c;
    }
    return u'\'' + shown + (text.size() > 40 ? QStringLiteral("...'") : QStringLiteral("'"));
}

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// The next of a line's three numbers from `at` on, blanks before it skipped: digits only, 0 to 255.
int ReadComponent(QStringView line, qsizetype &at, int lineNumber)
{
    while (at < line.size() && IsBlank(line[at]))
        ++at;
    const qsizetype begin = at;
    while (at < line.size() && !IsBlank(line[at]))
        ++at;
    const QStringView text = line.sliced(begin, at - begin);
    if (text.isEmpty())
        throw PaletteError(QStringLiteral("line %1: %2 is not a color").arg(lineNumber).arg(Quoted(line.trimmed())));
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9' || (value = value * 10 + (c.unicode() - u'0')) > 255)
            throw PaletteError(
                QStringLiteral("line %1: %2 is not a value from 0 to 255").arg(lineNumber).arg(Quoted(text)));
    }
    return value;
}

// The end of the line that begins at `begin`, at its \n, \r\n or lone \r (or the end of the bytes), and where
// the next one begins.
std::pair<qsizetype, qsizetype> LineEnd(const QByteArray &bytes, qsizetype begin)
{
    for (qsizetype at = begin; at < bytes.size(); ++at) {
        if (bytes[at] == '\n') return {at, at + 1};
        if (bytes[at] == '\r') return {at, at + 1 < bytes.size() && bytes[at + 1] == '\n' ? at + 2 : at + 1};
    }
    return {bytes.size(), -1};
}

// A name on one line, without the control characters that would break it.
QString OneLine(const QString &text)
{
    QString line = text;
    for (QChar &c : line)
        if (c.category() == QChar::Other_Control) c = u' ';
    return line.trimmed();
}

} // namespace

Palette ReadGimpPalette(const QByteArray &bytes)
{
    if (!bytes.startsWith(Magic) && !bytes.startsWith("\xEF\xBB\xBF" + Magic))
        throw PaletteError(QStringLiteral("not a GIMP palette: it does not begin with \"GIMP Palette\""));
    Palette palette;
    PaletteGroup group;
    // Line by line, without a list of them all: a file of nothing but line ends would make millions.
    qsizetype next = LineEnd(bytes, 0).second;
    for (int lineNumber = 2; next >= 0; ++lineNumber) {
        const auto [end, after] = LineEnd(bytes, next);
        const QString line = QString::fromUtf8(bytes.mid(next, end - next));
        next = after;
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#')) continue;
        if (group.entries.isEmpty() && line.startsWith(QStringLiteral("Name:"))) {
            palette.name = OneLine(line.mid(5));
            continue;
        }
        if (group.entries.isEmpty() && line.startsWith(QStringLiteral("Columns:"))) continue;
        // Three numbers, then the rest of the line is the name, as GIMP reads it: a long line is never split.
        qsizetype at = 0;
        const int red = ReadComponent(trimmed, at, lineNumber);
        const int green = ReadComponent(trimmed, at, lineNumber);
        const int blue = ReadComponent(trimmed, at, lineNumber);
        const QString name = trimmed.mid(at).trimmed();
        if (name.size() > MaxColourNameLength)
            throw PaletteError(QStringLiteral("line %1: a color's name longer than %2 characters")
                                   .arg(lineNumber)
                                   .arg(MaxColourNameLength));
        RequireRoomForColour(group.entries.size());
        group.entries.append({name, MakeColour(red, green, blue), {}});
    }
    palette.groups.append(group);
    return palette;
}

QByteArray WriteGimpPalette(const Palette &palette)
{
    QByteArray text =
        Magic + "\nName: " + OneLine(palette.name).toUtf8() + "\nColumns: " + QByteArray::number(Columns) + "\n#\n";
    for (const PaletteGroup &group : palette.groups) {
        if (!group.name.isEmpty()) text += "# " + OneLine(group.name).toUtf8() + '\n';
        for (const PaletteEntry &entry : group.entries)
            text += QStringLiteral("%1 %2 %3\t%4\n")
                        .arg(GetRValue(entry.colour), 3)
                        .arg(GetGValue(entry.colour), 3)
                        .arg(GetBValue(entry.colour), 3)
                        .arg(OneLine(entry.name))
                        .toUtf8();
    }
    return text;
}
