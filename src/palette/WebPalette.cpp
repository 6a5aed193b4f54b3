#include "WebPalette.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

using namespace colour;

namespace {

// Text for a CSS comment, which must not end it early.
QByteArray CommentText(const QString &text)
{
    return text.simplified().replace(QStringLiteral("*/"), QStringLiteral("* /")).toUtf8();
}

// A JSON string, quoted and escaped.
QByteArray JsonString(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

// A component from 0 to 1 with four decimals: enough to read back as the same of 256 levels.
QByteArray Component(int level)
{
    return QByteArray::number(std::round(level / 255.0 * 10000) / 10000, 'g', 5);
}

QByteArray Token(const PaletteEntry &entry)
{
    const Colour c = entry.colour;
    const QByteArray hex = QByteArray::fromStdString(ColourToHTMLText(c)).toLower();
    return JsonString(entry.key) + ": {\"$type\": \"color\", \"$value\": {\"colorSpace\": \"srgb\", \"components\": [" +
           Component(GetRValue(c)) + ", " + Component(GetGValue(c)) + ", " + Component(GetBValue(c)) +
           "], \"alpha\": 1, \"hex\": \"" + hex + "\"}, \"$description\": " + JsonString(entry.name) + "}";
}

} // namespace

QByteArray WriteCssPalette(const Palette &palette)
{
    QByteArray text = "/* " + CommentText(palette.name) + " */\n:root {\n";
    for (const PaletteGroup &group : palette.groups) {
        text += "  /* " + CommentText(group.name) + " */\n";
        for (const PaletteEntry &entry : group.entries)
            text +=
                "  --" + entry.key.toUtf8() + ": " + QByteArray::fromStdString(ColourToHTMLText(entry.colour)) + ";\n";
    }
    return text + "}\n";
}

QByteArray WriteDesignTokens(const Palette &palette)
{
    QByteArray text = "{\n  \"$description\": " + JsonString(palette.name);
    for (const PaletteGroup &group : palette.groups) {
        text += ",\n  " + JsonString(group.key) + ": {\n    \"$description\": " + JsonString(group.name);
        for (const PaletteEntry &entry : group.entries)
            text += ",\n    " + Token(entry);
        text += "\n  }";
    }
    return text + "\n}\n";
}
