// The nearest passing colour: it passes, keeps the hue and chroma, and no colour of that hue and chroma nearer
// in lightness passes; and where no lightness passes, it says so. (The ratio itself is checked against culori
// by the end-to-end oracle.)
#include "ColourSpaces.h"
#include "Contrast.h"
#include "CssColour.h"

#include <QtTest>

using namespace colour;

using namespace colour::spaces; // the colour spaces and their conversions

namespace {
Vec3 Oklch(Colour colour)
{
    const Vec3 rgb{GetRValue(colour) / 255.0, GetGValue(colour) / 255.0, GetBValue(colour) / 255.0};
    return ToPolar(XYZToOklab(RgbToXYZ(RgbSpace::SRGB, rgb)));
}
} // namespace

class TestContrast : public QObject
{
    Q_OBJECT

private slots:
    void nearestPassingColour_data()
    {
        QTest::addColumn<Colour>("colour");
        QTest::addColumn<Colour>("background");
        QTest::newRow("blue a hair short on white") << MakeColour(0x00, 0x6F, 0xFB) << White;
        QTest::newRow("light grey on white") << MakeColour(0xCC, 0xCC, 0xCC) << White;
        QTest::newRow("orange on black") << MakeColour(0x80, 0x40, 0x00) << Colour(0);
        QTest::newRow("green on mid grey, lighter or darker")
            << MakeColour(0x40, 0xA0, 0x40) << MakeColour(0x77, 0x77, 0x77);
        QTest::newRow("already passing") << MakeColour(0x20, 0x20, 0x20) << White;
    }
    void nearestPassingColour()
    {
        QFETCH(Colour, colour);
        QFETCH(Colour, background);
        const std::optional<Colour> nearest = NearestPassingColour(colour, background);
        QVERIFY(nearest);
        QVERIFY(ContrastRatio(*nearest, background) >= 4.5);
        const Vec3 from = Oklch(colour), to = Oklch(*nearest);
        if (ContrastRatio(colour, background) >= 4.5) QCOMPARE(*nearest, colour);
        // Same hue where there is chroma to have one.
        if (from[1] > 0.02 && to[1] > 0.02) QVERIFY(std::abs(std::remainder(from[2] - to[2], 360.0)) < 2);
        // Nothing nearer in lightness, on either side, passes.
        const double distance = std::abs(to[0] - from[0]);
        for (int step = 1; step < 200; ++step)
            for (const double side : {-1.0, 1.0}) {
                const double lightness = from[0] + side * distance * step / 200;
                const Colour nearer =
                    FromSRGB(XYZToRgb(RgbSpace::SRGB, OklabToXYZ(FromPolar({lightness, from[1], from[2]})))).colour;
                QVERIFY2(ContrastRatio(nearer, background) < 4.5 || std::abs(Oklch(nearer)[0] - from[0]) >= distance,
                         qPrintable(QString::fromStdString(ColourToHTMLText(nearer))));
            }
    }

    void noLightnessPasses()
    {
        // AAA against a mid grey: neither black (4.68) nor white (4.48) reaches 7.
        QCOMPARE(NearestPassingColour(MakeColour(0x40, 0x40, 0xC0), MakeColour(0x77, 0x77, 0x77), 7), std::nullopt);
    }

    void ratioIsTruncated()
    {
        QCOMPARE(FormatRatio(ContrastRatio(MakeColour(0x00, 0x6F, 0xFB), White)), std::string("4.49:1"));
        QCOMPARE(FormatRatio(21), std::string("21.00:1"));
        QCOMPARE(FormatRatio(1), std::string("1.00:1"));
    }
};

QTEST_APPLESS_MAIN(TestContrast)
#include "tst_contrast.moc"
