// The colour notations of the web: the hard cases of reading them, what each format writes, and that every
// colour written in every format reads back as itself. (colorjs.io checks thousands of random texts beside
// these: tests/e2e/css-oracle.cjs.)
#include "CssColour.h"
#include "CssReadBack.h"

#include <QTest>

#include <algorithm>
#include <map>
#include <random>
#include <regex>
#include <string>

using namespace colour;

Q_DECLARE_METATYPE(Colour)

class TestCssColour : public QObject
{
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void writing_data();
    void writing();
    void sampledColoursReadBackFromEveryFormat();
};

void TestCssColour::reading_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("colour");
    QTest::addColumn<Colour>("value");
    QTest::addColumn<bool>("mapped");
    QTest::addColumn<bool>("alphaDropped");
    const auto is = [](const char *text, Colour value, bool mapped = false, bool alphaDropped = false) {
        QTest::newRow(text) << QByteArray(text) << true << value << mapped << alphaDropped;
    };
    const auto isNot = [](const char *why, const QByteArray &text) {
        QTest::newRow(why) << text << false << White << false << false;
    };
    const Colour cyan = MakeColour(0, 255, 255), orange = MakeColour(255, 128, 0);

    is("rgb(none 0 0)", MakeColour(0, 0, 0));
    is("hsl(0.5turn 100% 50%)", cyan);
    is("hsl(3.14159265rad 100% 50%)", cyan);
    is("hsl(200grad 100% 50%)", cyan);
    is("hsl(540 100% 50%)", cyan);
    is("hsl(-180deg 100% 50%)", cyan);
    is("hsl(30 100 50)", orange);
    is("hsl(120 0% 40%)", MakeColour(102, 102, 102));
    is("rgb(150% 0 0)", MakeColour(255, 0, 0));
    is("rgb(300 -5 0)", MakeColour(255, 0, 0)); // rgb() clamps: no mapping
    is("rgb(1e3 .5 +5)", MakeColour(255, 1, 5));
    is("rgb(1e-400 0.0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0"
       "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0"
       "00000000000000000000000000000000000001 -1e-999%)",
       MakeColour(0, 0, 0)); // below a double: 0
    is("lab(150% 0 0)", White);
    is("hwb(0 120% 0%)", White);
    is("#F80A", MakeColour(255, 136, 0), false, true);
    is("#ff800080", orange, false, true);
    is("rgba(255, 128, 0, 0.5)", orange, false, true);
    is("hsl(30 100% 50% / none)", orange, false, true);
    is("ORANGE", MakeColour(255, 165, 0));
    is("RebeccaPurple", MakeColour(102, 51, 153));
    is("\t #FF8000 \n", orange);
    is("RGB( 255 , 128 , 0 )", orange);
    is("R G B(2 55,128,0)", orange); // the program's own notation allows blanks anywhere
    is("0x00FF8000", orange);
    is("ff8000", orange);
    is("color(srgb 1 0.50196 0)", orange);
    is("oklch(0.7 0.3 40)", MakeColour(255, 92, 0), true);
    is("lab(50 100 0 / 50%)", MakeColour(238, 0, 125), true, true);
    is("oklab(1 -0.4 0.1)", White, true); // lightness 1 is white, whatever the chroma
    isNot("transparent", "transparent");
    isNot("currentcolor", "currentcolor");
    isNot("junk before", "color: red");
    isNot("junk after", "red;");
    isNot("legacy syntax with none", "rgb(none, 0, 0)");
    isNot("legacy numbers and percentages mixed", "rgb(10%, 20, 30)");
    isNot("modern and legacy mixed", "rgb(10 20, 30)");
    isNot("a point without decimals", "rgb(5. 0 0)");
    isNot("unclosed", "rgb(255, 128, 0");
    isNot("hue with a percentage", "hsl(30% 100% 50%)");
    isNot("unknown unit", "hsl(30px 100% 50%)");
    isNot("unknown space", "color(cmyk 0 0 0)");
    isNot("number beyond double", "rgb(1e400 0 0)");
    isNot("number beyond double, its exponent small", "rgb(1" + QByteArray(400, '0') + "e-10 0 0)");
    isNot("five hex digits", "#FF800");
    isNot("bare three hex digits", "F80");
    isNot("nine hex digits", "#FF8000AAA");
    isNot("empty", "");
}

void TestCssColour::reading()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, colour);
    const std::optional<AnyColour> read = ReadAnyColour(text.toStdString());
    QCOMPARE(read.has_value(), colour);
    if (!read) return;
    QFETCH(Colour, value);
    QFETCH(bool, mapped);
    QFETCH(bool, alphaDropped);
    QCOMPARE(ColourToHTMLText(read->colour), ColourToHTMLText(value));
    QCOMPARE(read->mapped, mapped);
    QCOMPARE(read->alphaDropped, alphaDropped);
}

void TestCssColour::writing_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<Colour>("colour");
    QTest::addColumn<QByteArray>("text");
    const Colour orange = MakeColour(255, 128, 0), grey = MakeColour(119, 119, 119);
    QTest::newRow("rgb") << QByteArray("rgb") << orange << QByteArray("RGB(255, 128, 0)");
    QTest::newRow("css-rgb") << QByteArray("css-rgb") << orange << QByteArray("rgb(255 128 0)");
    // hsl(30 100% 50%) and hwb(88 50% 5%) lie on a half level: one reader takes #FF8000, another #FF7F00.
    QTest::newRow("hsl") << QByteArray("HSL") << orange << QByteArray("hsl(30.1 100% 50%)");
    QTest::newRow("hwb on a half level") << QByteArray("hwb") << MakeColour(0xBD, 0xF2, 0x80)
                                         << QByteArray("hwb(88 50.2% 5%)");
    QTest::newRow("hwb of a grey, past 100% in all") << QByteArray("hwb") << grey << QByteArray("hwb(0 47% 54%)");
    QTest::newRow("lab") << QByteArray("lab") << orange << QByteArray("lab(67.8 45.5 74.8)");
    QTest::newRow("lch of a grey") << QByteArray("lch") << grey << QByteArray("lch(50 0 0)");
    QTest::newRow("oklab") << QByteArray("oklab") << orange << QByteArray("oklab(0.732 0.112 0.1484)");
    QTest::newRow("oklch") << QByteArray("oklch") << orange << QByteArray("oklch(0.732 0.1858 53)");
    QTest::newRow("display-p3") << QByteArray("display-p3") << orange
                                << QByteArray("color(display-p3 0.936 0.53 0.199)");
    QTest::newRow("no such format") << QByteArray("cmyk") << orange << QByteArray();
}

void TestCssColour::writing()
{
    QFETCH(QByteArray, format);
    QFETCH(Colour, colour);
    QFETCH(QByteArray, text);
    const ColourFormat *found = FindColourFormat(format.toStdString());
    QCOMPARE(found != nullptr, !text.isEmpty());
    if (found) QCOMPARE(QByteArray::fromStdString(found->write(colour).value_or("")), text);
}

namespace {

// The text with its number that begins at `at` and has `decimals` decimals written with one fewer, the next
// such number below it or above it in size (`up`), in decimal digits (no binary rounding between).
std::string OneDecimalFewer(const std::string &text, std::size_t at, std::size_t length, int decimals, bool up)
{
    std::string digits = text.substr(at, length);
    const bool negative = digits.front() == '-';
    digits.erase(std::remove_if(digits.begin(), digits.end(), [](char c) { return c == '-' || c == '.'; }),
                 digits.end());
    const long long magnitude = std::stoll(digits) / 10 + (up ? 1 : 0);
    long long scale = 1;
    for (int k = 1; k < decimals; ++k)
        scale *= 10;
    std::string shorter = text.substr(0, at);
    if (negative && magnitude != 0) shorter.push_back('-');
    shorter.append(std::to_string(magnitude / scale));
    if (decimals > 1) {
        const std::string fraction = std::to_string(magnitude % scale);
        shorter.push_back('.');
        shorter.append(std::size_t(decimals - 1) - fraction.size(), '0');
        shorter.append(fraction);
    }
    return shorter.append(text, at + length);
}

} // namespace

// For a seeded sample of colours, every CSS text reads back as the colour (Paste Any after Copy As), and none
// of its numbers could be written with a decimal fewer, on either side of it, down to the decimals its format always
// writes (OKLab's and OKLCH's lightness 2, their other numbers 3, display-p3's 2; hues and the other functions' numbers
// none): that text would read back as another colour, mapped, or so near a half level that some reader would round it
// the other way. (bench/css_round_trip sweeps the reading back for all 16.7 million.)
void TestCssColour::sampledColoursReadBackFromEveryFormat()
{
    const std::map<std::string_view, std::array<int, 3>> least = {
        {"oklab", {2, 3, 3}}, {"oklch", {2, 3, 0}}, {"display-p3", {2, 2, 2}}};
    static const std::regex number("-?[0-9]+(?:\\.([0-9]+))?");
    std::mt19937 random(20261209);
    for (int i = 0; i < 20000; ++i) {
        const Colour colour = random() & White;
        for (const ColourFormat &format : ColourFormats().subspan(FirstCssFormat)) {
            const std::string text = format.write(colour).value_or("no text");
            QVERIFY2(ReadAnyColour(text) == (AnyColour{colour, false, false}), text.c_str());
            const auto floor = least.find(format.name);
            // The numbers begin after the function's name, and color()'s space.
            std::size_t begin = text.find('(') + 1;
            if (text.starts_with("color(")) begin = text.find(' ', begin) + 1;
            int index = 0;
            for (auto each = std::sregex_iterator(text.begin() + std::ptrdiff_t(begin), text.end(), number);
                 each != std::sregex_iterator(); ++each, ++index) {
                const int decimals = int(each->length(1));
                if (decimals <= (floor == least.end() ? 0 : floor->second[std::size_t(index)])) continue;
                for (const bool up : {false, true}) {
                    const std::string shorter = OneDecimalFewer(text, begin + std::size_t(each->position()),
                                                                std::size_t(each->length()), decimals, up);
                    QVERIFY2(!ReadsBackSurely(shorter, colour), (text + " could be " + shorter).c_str());
                }
            }
        }
    }
}

QTEST_APPLESS_MAIN(TestCssColour)
#include "tst_csscolour.moc"
