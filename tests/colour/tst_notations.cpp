// The three notations: what each validator accepts, what each parser reads, and the canonical texts.
#include "uFunctions.h"

#include <QTest>

#include <stdexcept>

using namespace colour;

Q_DECLARE_METATYPE(Colour)

namespace {
enum NotationKind { RGB, HEX, HTML };

bool IsText(NotationKind kind, std::string_view text)
{
    switch (kind) {
    case RGB:
        return IsRGBText(text);
    case HEX:
        return IsHEXText(text);
    case HTML:
        return IsHTMLText(text);
    }
    return false;
}

Colour ToColour(NotationKind kind, std::string_view text)
{
    switch (kind) {
    case RGB:
        return RGBTextToColour(text);
    case HEX:
        return HEXTextToColour(text);
    case HTML:
        return HTMLTextToColour(text);
    }
    return White;
}
} // namespace

Q_DECLARE_METATYPE(NotationKind)

class TestNotations : public QObject
{
    Q_OBJECT

private slots:
    void validators_data();
    void validators();
    void formatters_data();
    void formatters();
    void lenientParsers_data();
    void lenientParsers();
    void rgbParserRefusesNonNumbers();
    void packingIgnoresTopByteAndWraps();
    void textHelpers();
    void everyColourRoundTrips();
};

void TestNotations::validators_data()
{
    QTest::addColumn<NotationKind>("kind");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<Colour>("colour");

    const auto ok = [](const char *name, NotationKind kind, const QByteArray &text, Colour colour) {
        QTest::newRow(name) << kind << text << true << colour;
    };
    const auto bad = [](const char *name, NotationKind kind, const QByteArray &text) {
        QTest::newRow(name) << kind << text << false << Colour(0);
    };

    ok("rgb canonical", RGB, "RGB(255, 128, 0)", 0x000080FF);
    ok("rgb lower case, no blanks", RGB, "rgb(255,128,0)", 0x000080FF);
    ok("rgb blanks around everything", RGB, " RGB ( 12 , 34 , 56 ) ", 0x0038220C);
    ok("rgb blanks inside word and number", RGB, "R G B ( 2 5 5 ,0,0)", 0x000000FF);
    ok("rgb leading zeros", RGB, "RGB(007,8,9)", 0x00090807);
    ok("rgb zeros", RGB, "RGB(0,0,0)", 0x00000000);
    bad("rgb 256", RGB, "RGB(256,0,0)");
    bad("rgb four digits", RGB, "RGB(0255,0,0)");
    bad("rgb empty component", RGB, "RGB(,2,3)");
    bad("rgb empty last component", RGB, "RGB(1,2,)");
    bad("rgb one comma", RGB, "RGB(1,2)");
    bad("rgb three commas", RGB, "RGB(1,2,3,4)");
    bad("rgb minus", RGB, "RGB(-1,2,3)");
    bad("rgb plus", RGB, "RGB(+1,2,3)");
    bad("rgb no closing parenthesis", RGB, "RGB(1,2,3");
    bad("rgb two closing parentheses", RGB, "RGB(1,2,3))");
    bad("rgb tab", RGB, "RGB(1,\t2,3)");
    bad("rgb no prefix", RGB, "(1,2,3)");
    bad("rgb only prefix", RGB, "RGB(");
    bad("rgb prefix and parenthesis", RGB, "RGB()");
    bad("rgb long blank-free text", RGB, "RGB(0000000001,2,3)");
    bad("rgb empty", RGB, "");

    ok("hex canonical", HEX, "0x00FF8000", 0x000080FF);
    ok("hex upper X, lower digits", HEX, "0X00ff8000", 0x000080FF);
    bad("hex other prefix digits", HEX, "0x01FF8000");
    bad("hex four digits", HEX, "0x00FF80");
    bad("hex seven digits", HEX, "0x00FF80001");
    bad("hex leading blank", HEX, " 0x00FF8000");
    bad("hex trailing blank", HEX, "0x00FF8000 ");
    bad("hex non-hex digit", HEX, "0x00FF800G");
    bad("hex only prefix", HEX, "0x00");
    bad("hex empty", HEX, "");

    ok("html canonical", HTML, "#FF8000", 0x000080FF);
    ok("html lower case", HTML, "#ff8000", 0x000080FF);
    bad("html no hash", HTML, "FF8000");
    bad("html short form", HTML, "#F80");
    bad("html seven digits", HTML, "#FF80001");
    bad("html blank", HTML, "# FF8000");
    bad("html sign inside", HTML, "#+F8000");
    bad("html empty", HTML, "");
}

void TestNotations::validators()
{
    QFETCH(NotationKind, kind);
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(Colour, colour);

    QCOMPARE(IsText(kind, text.toStdString()), valid);
    // A text valid in one notation is valid in no other.
    for (NotationKind other : {RGB, HEX, HTML})
        if (other != kind && valid) QVERIFY(!IsText(other, text.toStdString()));
    if (valid) QCOMPARE(ToColour(kind, text.toStdString()), colour);
}

void TestNotations::formatters_data()
{
    QTest::addColumn<Colour>("colour");
    QTest::addColumn<QByteArray>("rgb");
    QTest::addColumn<QByteArray>("hex");
    QTest::addColumn<QByteArray>("html");

    QTest::newRow("orange") << Colour(0x000080FF) << QByteArray("RGB(255, 128, 0)") << QByteArray("0x00FF8000")
                            << QByteArray("#FF8000");
    QTest::newRow("white") << Colour(0x00FFFFFF) << QByteArray("RGB(255, 255, 255)") << QByteArray("0x00FFFFFF")
                           << QByteArray("#FFFFFF");
    QTest::newRow("black") << Colour(0) << QByteArray("RGB(0, 0, 0)") << QByteArray("0x00000000")
                           << QByteArray("#000000");
    QTest::newRow("mixed") << Colour(0x0038220C) << QByteArray("RGB(12, 34, 56)") << QByteArray("0x000C2238")
                           << QByteArray("#0C2238");
    QTest::newRow("top byte ignored") << Colour(0x12345678) << QByteArray("RGB(120, 86, 52)")
                                      << QByteArray("0x00785634") << QByteArray("#785634");
}

void TestNotations::formatters()
{
    QFETCH(Colour, colour);
    QFETCH(QByteArray, rgb);
    QFETCH(QByteArray, hex);
    QFETCH(QByteArray, html);
    QCOMPARE(QByteArray::fromStdString(ColourToRGBText(colour)), rgb);
    QCOMPARE(QByteArray::fromStdString(ColourToHEXText(colour)), hex);
    QCOMPARE(QByteArray::fromStdString(ColourToHTMLText(colour)), html);
}

// The hexadecimal and HTML parsers read whatever they are given and fall back to white.
void TestNotations::lenientParsers_data()
{
    QTest::addColumn<NotationKind>("kind");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<Colour>("colour");

    QTest::newRow("hex third pair missing") << HEX << QByteArray("0x00FF80") << White;
    QTest::newRow("hex lone last digit") << HEX << QByteArray("0x00FF800") << Colour(0x000080FF);
    QTest::newRow("hex extra characters ignored") << HEX << QByteArray("0x00FF8000zz") << Colour(0x000080FF);
    QTest::newRow("hex prefix not examined") << HEX << QByteArray("abcd102030") << Colour(0x00302010);
    QTest::newRow("hex bad digit") << HEX << QByteArray("0x00FF8G00") << White;
    QTest::newRow("hex empty") << HEX << QByteArray("") << White;
    QTest::newRow("html lone last digit") << HTML << QByteArray("#FF800") << Colour(0x000080FF);
    QTest::newRow("html only hash") << HTML << QByteArray("#") << White;
    QTest::newRow("html blank digit") << HTML << QByteArray("#FF 000") << White;
    QTest::newRow("rgb without commas") << RGB << QByteArray("RGB(1 2 3)") << White;
    QTest::newRow("rgb one comma") << RGB << QByteArray("RGB(1,2)") << White;
    QTest::newRow("rgb large numbers wrap") << RGB << QByteArray("RGB(256,257,511)") << MakeColour(0, 1, 255);
}

void TestNotations::lenientParsers()
{
    QFETCH(NotationKind, kind);
    QFETCH(QByteArray, text);
    QFETCH(Colour, colour);
    QCOMPARE(ToColour(kind, text.toStdString()), colour);
}

void TestNotations::rgbParserRefusesNonNumbers()
{
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, RGBTextToColour("RGB(a,2,3)"));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, RGBTextToColour("RGB(,2,3)"));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, RGBTextToColour("RGB(99999999999,2,3)"));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, RGBTextToColour("RGB(+-1,2,3)"));
}

void TestNotations::packingIgnoresTopByteAndWraps()
{
    QCOMPARE(MakeColour(255, 128, 0), Colour(0x000080FF));
    QCOMPARE(MakeColour(256, -1, 511), Colour(0x00FFFF00));
    const Colour withTopByte = 0xAB0A141E;
    QCOMPARE(GetRValue(withTopByte), 0x1E);
    QCOMPARE(GetGValue(withTopByte), 0x14);
    QCOMPARE(GetBValue(withTopByte), 0x0A);
}

void TestNotations::textHelpers()
{
    QCOMPARE(LeftText("abc", 2), std::string("ab"));
    QCOMPARE(LeftText("abc", 9), std::string("abc"));
    QCOMPARE(RightText("abc", 2), std::string("bc"));
    QCOMPARE(RightText("abc", 9), std::string("abc"));
    QCOMPARE(StripBlanks(" a\tb c "), std::string("a\tbc"));
    QCOMPARE(CountChar("a,b,,c", ','), std::size_t(3));
    QVERIFY(IsDigits(""));
    QVERIFY(IsDigits("0123456789"));
    QVERIFY(!IsDigits("12a"));
    QVERIFY(!IsDigits(" 1"));
    QCOMPARE(EmptyToZero(""), std::string("0"));
    QCOMPARE(EmptyToZero("007"), std::string("007"));
    QCOMPARE(UpperCase("rgb(\xe9x)"), std::string("RGB(\xe9X)"));
}

// Every colour in the Release build; the sanitized build, forty times slower, where the fuzzer covers the
// notations too, checks one colour in 97.
void TestNotations::everyColourRoundTrips()
{
#ifdef TINTWELL_SANITIZED
    constexpr Colour step = 97;
#else
    constexpr Colour step = 1;
#endif
    for (Colour c = 0; c <= 0x00FFFFFF; c += step) {
        const std::string rgb = ColourToRGBText(c);
        const std::string hex = ColourToHEXText(c);
        const std::string html = ColourToHTMLText(c);
        if (!IsRGBText(rgb) || RGBTextToColour(rgb) != c || !IsHEXText(hex) || HEXTextToColour(hex) != c ||
            !IsHTMLText(html) || HTMLTextToColour(html) != c)
            QFAIL(qPrintable(QStringLiteral("colour 0x%1 does not round-trip").arg(c, 8, 16, QLatin1Char('0'))));
    }
}

QTEST_APPLESS_MAIN(TestNotations)
#include "tst_notations.moc"
