#include "CustomColours.h"

#include "CVRegUtils.h"
#include "FormPlacement.h"
#include "QtColour.h"
#include "uFunctions.h"

#include <algorithm>
#include <optional>

using namespace registry;

using namespace colour;

namespace {
const QString SubkeyName = QStringLiteral("CustomColors");

QString LineName(int position)
{
    return QStringLiteral("Color") + QChar(u'A' + position);
}

qsizetype FindLine(const QStringList &list, const QString &name)
{
    for (qsizetype i = 0; i < list.size(); ++i) {
        const qsizetype equals = list[i].indexOf(u'=');
        if (equals >= 0 && QStringView(list[i]).left(equals).compare(name, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

// Up to eight hexadecimal digits, nothing else: a hand-edited "XYZ" names no colour.
std::optional<Colour> ParseHexColour(QStringView text)
{
    const auto isHexDigit = [](QChar c) { return HexDigitValue(c.unicode()) >= 0; };
    if (text.isEmpty() || text.size() > 8 || !std::all_of(text.begin(), text.end(), isHexDigit)) return std::nullopt;
    return Colour(text.toUInt(nullptr, 16));
}

QString FormatLine(int position, const QColor &colour)
{
    const Colour value = fromQColor(colour);
    return LineName(position) + u'=' + QStringLiteral("%1").arg(value, 6, 16, QLatin1Char('0')).toUpper();
}
} // namespace

QList<QColor> CustomColoursFromList(const QStringList &list)
{
    QList<QColor> colours;
    for (int position = 0; position < CustomColourCount; ++position) {
        const qsizetype line = FindLine(list, LineName(position));
        const std::optional<Colour> colour =
            line < 0 ? std::nullopt : ParseHexColour(QStringView(list[line]).mid(list[line].indexOf(u'=') + 1));
        colours.append(toQColor(colour.value_or(White)));
    }
    return colours;
}

void UpdateCustomColourList(QStringList &list, const QList<QColor> &colours)
{
    for (int position = 0; position < CustomColourCount && position < colours.size(); ++position) {
        const QString text = FormatLine(position, colours[position]);
        const qsizetype line = FindLine(list, LineName(position));
        if (line < 0)
            list.append(text);
        else
            list[line] = text;
    }
}

QStringList RestoreCustomColours(HKEY hive, const QString &key, const QStringList &present)
{
    return RegReadValueNames(hive, key, SubkeyName, present);
}

void SaveCustomColours(TFormPlacement &store, const QStringList &list)
{
    store.WriteValueNames(SubkeyName, list);
}
