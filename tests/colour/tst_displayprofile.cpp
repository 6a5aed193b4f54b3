// What a display's device value means in sRGB, against LittleCMS's own converter `transicc` run on the same
// profiles, and the profiles that no conversion can use.
#include "DisplayProfile.h"
#include "MadeProfiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <cmath>

using namespace colour;

using made_profiles::Kind;
Q_DECLARE_METATYPE(Kind)

namespace {

std::vector<Colour> SampleColours()
{
    std::vector<Colour> colours;
    for (int r = 0; r <= 256; r += 64)
        for (int g = 0; g <= 256; g += 64)
            for (int b = 0; b <= 256; b += 64)
                colours.push_back(MakeColour(std::min(r, 255), std::min(g, 255), std::min(b, 255)));
    for (const Colour odd : {MakeColour(238, 133, 51), MakeColour(1, 2, 3), MakeColour(254, 1, 127)})
        colours.push_back(odd);
    return colours;
}

// What transicc makes of each colour, relative colorimetric without precalculation, in unbounded 0 to 255.
std::vector<std::array<double, 3>> Oracle(const std::string &profile, const std::vector<Colour> &colours)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("display.icc")));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(profile.data(), qint64(profile.size())) != qint64(profile.size()))
        return {};
    file.close();
    QByteArray input;
    for (const Colour colour : colours)
        input += QByteArray::number(GetRValue(colour)) + ' ' + QByteArray::number(GetGValue(colour)) + ' ' +
                 QByteArray::number(GetBValue(colour)) + '\n';
    QProcess transicc;
    transicc.start(QStringLiteral("transicc"), {QStringLiteral("-i") + file.fileName(), QStringLiteral("-o*sRGB"),
                                                QStringLiteral("-t1"), QStringLiteral("-c0"), QStringLiteral("-n")});
    transicc.write(input);
    transicc.closeWriteChannel();
    if (!transicc.waitForFinished(-1) || transicc.exitCode() != 0) return {};
    std::vector<std::array<double, 3>> values;
    for (const QByteArray &line : transicc.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> numbers = line.simplified().split(' ');
        if (numbers.size() == 3)
            values.push_back({numbers[0].toDouble(), numbers[1].toDouble(), numbers[2].toDouble()});
    }
    return values;
}

} // namespace

class TestDisplayProfile : public QObject
{
    Q_OBJECT

private slots:
    void convertsAsTheOracle_data();
    void convertsAsTheOracle();
    void unusableProfilesAreRefused_data();
    void unusableProfilesAreRefused();
};

void TestDisplayProfile::convertsAsTheOracle_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("description");
    QTest::newRow("wide gamut, matrix and gamma, v2") << Kind::WideV2 << "Wide P3 display";
    QTest::newRow("wide gamut, matrix and sRGB curve, v4") << Kind::WideV4 << "Wide P3 display, version 4";
    QTest::newRow("sampled curves") << Kind::Sampled << "Adobe RGB display, sampled curves";
    QTest::newRow("lookup table only") << Kind::LookupTable << "Rec. 2020 display, table only";
    QTest::newRow("table beside a matrix") << Kind::TableOverMatrix << "Rec. 2020 table over an sRGB matrix";
}

// Every channel within 1 of the oracle's, rounded and brought into 0 to 255; clipping said where the oracle's
// value lies clearly outside, and not where it lies clearly inside.
void TestDisplayProfile::convertsAsTheOracle()
{
    QFETCH(Kind, kind);
    QFETCH(QString, description);
    const std::string bytes = made_profiles::Make(kind);
    const auto read = DisplayProfile::Read(bytes);
    const auto *profile = std::get_if<DisplayProfile>(&read);
    QVERIFY2(profile, profile ? "" : std::get<std::string>(read).c_str());
    QCOMPARE(QString::fromStdString(profile->Description()), description);

    const std::vector<Colour> colours = SampleColours();
    const std::vector<std::array<double, 3>> expected = Oracle(bytes, colours);
    QVERIFY2(expected.size() == colours.size(), "transicc (liblcms2-utils) did not convert the colours");
    int clipped = 0;
    for (size_t i = 0; i < colours.size(); ++i) {
        const SRGBValue value = profile->ToSRGB(colours[i]);
        const int got[3] = {GetRValue(value.colour), GetGValue(value.colour), GetBValue(value.colour)};
        bool outside = false, inside = true;
        for (int c = 0; c < 3; ++c) {
            const double oracle = expected[i][size_t(c)];
            QVERIFY2(std::abs(got[c] - std::clamp(oracle, 0.0, 255.0)) <= 1,
                     qPrintable(QStringLiteral("%1 gave %2, the oracle %3 %4 %5")
                                    .arg(QString::fromStdString(ColourToHTMLText(colours[i])),
                                         QString::fromStdString(ColourToHTMLText(value.colour)))
                                    .arg(expected[i][0])
                                    .arg(expected[i][1])
                                    .arg(expected[i][2])));
            outside = outside || oracle < -1 || oracle > 256;
            inside = inside && oracle > -0.25 && oracle < 255.25;
        }
        if (outside) QVERIFY2(value.clipped, qPrintable(QString::fromStdString(ColourToHTMLText(colours[i]))));
        if (inside) QVERIFY2(!value.clipped, qPrintable(QString::fromStdString(ColourToHTMLText(colours[i]))));
        clipped += value.clipped;
    }
    // A wider gamut than sRGB's: its saturated colours lie outside.
    QVERIFY(clipped > 0);
}

void TestDisplayProfile::unusableProfilesAreRefused_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("why");
    QTest::newRow("garbage") << Kind::Garbage << "not a color profile that LittleCMS can read";
    QTest::newRow("cut short") << Kind::Truncated << "a profile cut short";
    QTest::newRow("CMYK printer") << Kind::Cmyk << "not the profile of an RGB display";
    QTest::newRow("grey display") << Kind::Grey << "not the profile of an RGB display";
    QTest::newRow("RGB scanner") << Kind::RgbScanner << "not the profile of an RGB display";
    QTest::newRow("negative gamma") << Kind::NegativeGamma << "a profile whose colors lie far from any display's";
}

void TestDisplayProfile::unusableProfilesAreRefused()
{
    QFETCH(Kind, kind);
    QFETCH(QString, why);
    const auto read = DisplayProfile::Read(made_profiles::Make(kind));
    QVERIFY(std::holds_alternative<std::string>(read));
    QCOMPARE(QString::fromStdString(std::get<std::string>(read)), why);
}

QTEST_GUILESS_MAIN(TestDisplayProfile)
#include "tst_displayprofile.moc"
