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

    // The expected texts are the exact ratios (computed to 50 digits apart from this program) truncated; the
    // first rows lie within 1e-11 below a threshold, where a shown ratio must not reach it.
    void ratioIsTruncated_data()
    {
        QTest::addColumn<int>("foreground");
        QTest::addColumn<int>("background");
        QTest::addColumn<QString>("shown");
        QTest::newRow("4.4999999999921") << 0x2671E5 << 0x060201 << "4.49:1";
        QTest::newRow("4.4999999999996") << 0x898CB8 << 0x3E2217 << "4.49:1";
        QTest::newRow("2.9999999999994") << 0x1C5F98 << 0x190102 << "2.99:1";
        QTest::newRow("6.9999999999902") << 0x6AAE58 << 0x05102B << "6.99:1";
        QTest::newRow("6.9999999999968") << 0x16D0AD << 0x102E4E << "6.99:1";
        QTest::newRow("4.49988") << 0x006FFB << 0xFFFFFF << "4.49:1";
        QTest::newRow("7.0047") << 0x595959 << 0xFFFFFF << "7.00:1";
        QTest::newRow("21") << 0x000000 << 0xFFFFFF << "21.00:1";
        QTest::newRow("1") << 0x808080 << 0x808080 << "1.00:1";
    }

    void ratioIsTruncated()
    {
        QFETCH(int, foreground);
        QFETCH(int, background);
        QFETCH(QString, shown);
        const auto colour = [](int rgb) { return MakeColour(rgb >> 16, (rgb >> 8) & 255, rgb & 255); };
        const double ratio = ContrastRatio(colour(foreground), colour(background));
        QCOMPARE(QString::fromStdString(FormatRatio(ratio)), shown);
        for (const ContrastCriterion &criterion : ContrastCriteria)
            QCOMPARE(shown.chopped(2).toDouble() >= criterion.threshold, ratio >= criterion.threshold);
    }
};

QTEST_APPLESS_MAIN(TestContrast)
#include "tst_contrast.moc"
