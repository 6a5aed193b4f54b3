#include "GimpPalette.h"

#include <QRegularExpression>

using namespace colour;

namespace {

const QByteArray Magic = "GIMP Palette";
constexpr int Columns = 12; // as the window shows its slots

// A line of the file, quoted short enough for one line of a message.
QString Quoted(const QString &line)
{
    return u'\'' + (line.size() > 40 ? line.left(40) + QStringLiteral("...") : line) + u'\'';
}

int ReadComponent(const QString &text, int lineNumber)
{
    bool isNumber = false;
    const int value = text.toInt(&isNumber, 10);
    const bool digitsOnly = !text.isEmpty() && text.front().isDigit();
    if (!isNumber || !digitsOnly || value > 255)
        throw PaletteError(
            QStringLiteral("line %1: %2 is not a value from 0 to 255").arg(lineNumber).arg(Quoted(text)));
    return value;
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
    static const QRegularExpression blanks(QStringLiteral("[ \t]+"));
    Palette palette;
    PaletteGroup group;
    // Line by line, without a list of them all: a file of nothing but line ends would make millions.
    qsizetype end = bytes.indexOf('\n');
    for (int lineNumber = 2; end >= 0; ++lineNumber) {
        const qsizetype begin = end + 1;
        end = bytes.indexOf('\n', begin);
        const QString line = QString::fromUtf8(bytes.mid(begin, end < 0 ? -1 : end - begin)).remove(u'\r');
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#')) continue;
        if (group.entries.isEmpty() && line.startsWith(QStringLiteral("Name:"))) {
            palette.name = OneLine(line.mid(5));
            continue;
        }
        if (group.entries.isEmpty() && line.startsWith(QStringLiteral("Columns:"))) continue;
        const QStringList parts = trimmed.split(blanks);
        if (parts.size() < 3)
            throw PaletteError(QStringLiteral("line %1: %2 is not a colour").arg(lineNumber).arg(Quoted(trimmed)));
        const int red = ReadComponent(parts[0], lineNumber);
        const int green = ReadComponent(parts[1], lineNumber);
        const int blue = ReadComponent(parts[2], lineNumber);
        // The name is the rest of the line after the third number.
        static const QRegularExpression threeNumbers(QStringLiteral("^\\S+[ \t]+\\S+[ \t]+\\S+"));
        const QString name = trimmed.mid(threeNumbers.match(trimmed).capturedLength()).trimmed();
        if (name.size() > MaxColourNameLength)
            throw PaletteError(QStringLiteral("line %1: a colour's name longer than %2 characters")
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
