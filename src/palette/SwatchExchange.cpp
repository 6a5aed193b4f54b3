#include "SwatchExchange.h"

#include "ColourSpaces.h"
#include "CssColour.h"

#include <QtEndian>

#include <bit>
#include <cmath>

using namespace colour;

using namespace colour::spaces; // the colour spaces and their conversions

namespace {

enum BlockType : quint16 { ColourBlock = 0x0001, GroupStart = 0xC001, GroupEnd = 0xC002 };
enum ColourType : quint16 { Global = 0, Spot = 1, Normal = 2 };
constexpr qsizetype HeaderSize = 12;
constexpr qsizetype BlockHeaderSize = 6;

// Reads the file front to back; every read past the end of the file, or of the block in hand, is refused.
class Reader
{
public:
    Reader(const QByteArray &bytes, qsizetype begin, qsizetype end) : m_bytes(bytes), m_at(begin), m_end(end) {}

    qsizetype at() const { return m_at; }
    qsizetype left() const { return m_end - m_at; }
    void need(qsizetype size, const QString &what) const
    {
        if (size > left()) throw PaletteError(QStringLiteral("cut short in %1").arg(what));
    }
    quint16 u16(const QString &what)
    {
        need(2, what);
        return qFromBigEndian<quint16>(m_bytes.constData() + std::exchange(m_at, m_at + 2));
    }
    quint32 u32(const QString &what)
    {
        need(4, what);
        return qFromBigEndian<quint32>(m_bytes.constData() + std::exchange(m_at, m_at + 4));
    }
    float f32(const QString &what)
    {
        const float value = std::bit_cast<float>(u32(what));
        if (!std::isfinite(value))
            throw PaletteError(QStringLiteral("%1 holds a value that is not a number").arg(what));
        return value;
    }
    QByteArray bytes(qsizetype size, const QString &what)
    {
        need(size, what);
        return m_bytes.mid(std::exchange(m_at, m_at + size), size);
    }
    // A name: its length in UTF-16 units with the closing zero, then the units.
    QString name(const QString &what)
    {
        const quint16 units = u16(what);
        if (units > MaxColourNameLength + 1)
            throw PaletteError(
                QStringLiteral("%1 has a name longer than %2 characters").arg(what).arg(MaxColourNameLength));
        const QByteArray text = bytes(qsizetype(units) * 2, what);
        QString name(units, Qt::Uninitialized);
        for (qsizetype i = 0; i < units; ++i)
            name[i] = QChar(qFromBigEndian<quint16>(text.constData() + i * 2));
        const qsizetype zero = name.indexOf(QChar(0));
        return zero >= 0 ? name.left(zero) : name;
    }

private:
    const QByteArray &m_bytes;
    qsizetype m_at;
    qsizetype m_end;
};

// An RGB component, 0 to 1, as one of 256 levels; a value off that range by more than half a level is damage.
int Level(float value, const QString &what)
{
    if (value < -0.5f / 255 || value > 1 + 0.5f / 255)
        throw PaletteError(QStringLiteral("%1 holds a value outside 0 to 1").arg(what));
    return int(std::lround(std::clamp(double(value), 0.0, 1.0) * 255));
}

// The colour of a colour block's model and values; nothing for CMYK.
std::optional<Colour> ReadModel(Reader &block, const QString &what)
{
    const QByteArray model = block.bytes(4, what);
    if (model == "RGB ") {
        const int red = Level(block.f32(what), what);
        const int green = Level(block.f32(what), what);
        return MakeColour(red, green, Level(block.f32(what), what));
    }
    if (model == "Gray") {
        const int level = Level(block.f32(what), what);
        return MakeColour(level, level, level);
    }
    if (model == "LAB ") {
        // Lightness is kept from 0 to 1.
        const double lightness = block.f32(what) * 100.0;
        const double a = block.f32(what);
        return FromSRGB(XYZToRgb(RgbSpace::SRGB, LabToXYZ({lightness, a, double(block.f32(what))}))).colour;
    }
    if (model == "CMYK") {
        block.bytes(16, what);
        return std::nullopt;
    }
    QString shown = QString::fromLatin1(model);
    for (QChar &c : shown)
        if (!c.isPrint()) c = u'?';
    throw PaletteError(QStringLiteral("%1 has the unknown color model '%2'").arg(what, shown));
}

void AppendU16(QByteArray &out, quint16 value)
{
    out.append(char(value >> 8)).append(char(value & 0xFF));
}

void AppendU32(QByteArray &out, quint32 value)
{
    AppendU16(out, quint16(value >> 16));
    AppendU16(out, quint16(value & 0xFFFF));
}

void AppendName(QByteArray &out, const QString &name)
{
    const QString text = name.left(MaxColourNameLength);
    AppendU16(out, quint16(text.size() + 1));
    for (QChar c : text)
        AppendU16(out, c.unicode());
    AppendU16(out, 0);
}

void AppendBlock(QByteArray &out, quint16 type, const QByteArray &body)
{
    AppendU16(out, type);
    AppendU32(out, quint32(body.size()));
    out += body;
}

} // namespace

Palette ReadSwatchExchange(const QByteArray &bytes)
{
    Reader file(bytes, 0, bytes.size());
    if (bytes.size() < HeaderSize || file.bytes(4, {}) != "ASEF")
        throw PaletteError(QStringLiteral("not an Adobe Swatch Exchange file: it does not begin with \"ASEF\""));
    if (const quint16 major = file.u16({}); major != 1)
        throw PaletteError(QStringLiteral("an Adobe Swatch Exchange file of version %1, not 1").arg(major));
    file.u16({});
    const quint32 blocks = file.u32({});
    if (blocks > quint64(file.left()) / BlockHeaderSize)
        throw PaletteError(QStringLiteral("it counts %1 blocks, more than the file can hold").arg(blocks));
    // Each colour in a group of its own is three blocks.
    if (blocks > 3 * quint64(MaxColourCount))
        throw PaletteError(QStringLiteral("it counts %1 blocks, more than any palette").arg(blocks));

    // Colours outside any named group, before, between or after the groups, make one group without a name, first.
    Palette palette;
    PaletteGroup loose;
    qsizetype current = -1; // the group the colours go to; -1 outside any
    qsizetype colours = 0;  // read so far, skipped ones included
    for (quint32 index = 0; index < blocks; ++index) {
        const QString what = QStringLiteral("block %1").arg(index + 1);
        const quint16 type = file.u16(what);
        const quint32 length = file.u32(what);
        if (length > quint64(file.left()))
            throw PaletteError(QStringLiteral("%1 runs past the end of the file").arg(what));
        Reader block(bytes, file.at(), file.at() + qsizetype(length));
        file.bytes(qsizetype(length), what);
        switch (type) {
        case GroupStart: {
            // A group without a name holds its colours no differently from no group at all; some paint makers'
            // files start every group with an empty block, and leave it open to the end of the file.
            const QString name = length == 0 ? QString() : block.name(what);
            if (!name.isEmpty()) palette.groups.append({name, {}, {}});
            current = name.isEmpty() ? -1 : palette.groups.size() - 1;
            break;
        }
        case GroupEnd:
            current = -1;
            break;
        case ColourBlock: {
            const QString name = block.name(what);
            RequireRoomForColour(colours++);
            if (const std::optional<Colour> colour = ReadModel(block, what))
                (current < 0 ? loose : palette.groups[current]).entries.append({name, *colour, {}});
            else
                ++palette.skippedCmyk;
            break;
        }
        default:
            throw PaletteError(
                QStringLiteral("%1 is of the unknown type 0x%2").arg(what).arg(type, 4, 16, QLatin1Char('0')));
        }
    }
    if (!loose.entries.isEmpty() || palette.groups.isEmpty()) palette.groups.prepend(loose);
    return palette;
}

QByteArray WriteSwatchExchange(const Palette &palette)
{
    QByteArray blocks;
    quint32 count = 0;
    for (const PaletteGroup &group : palette.groups) {
        const bool named = !group.name.isEmpty();
        if (named) {
            QByteArray start;
            AppendName(start, group.name);
            AppendBlock(blocks, GroupStart, start);
            ++count;
        }
        for (const PaletteEntry &entry : group.entries) {
            QByteArray colour;
            AppendName(colour, entry.name);
            colour += "RGB ";
            for (int level : {GetRValue(entry.colour), GetGValue(entry.colour), GetBValue(entry.colour)})
                AppendU32(colour, std::bit_cast<quint32>(float(level) / 255.0f));
            AppendU16(colour, Normal);
            AppendBlock(blocks, ColourBlock, colour);
            ++count;
        }
        if (named) {
            AppendBlock(blocks, GroupEnd, {});
            ++count;
        }
    }
    QByteArray out("ASEF");
    AppendU16(out, 1);
    AppendU16(out, 0);
    AppendU32(out, count);
    return out + blocks;
}
