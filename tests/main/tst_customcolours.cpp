// The custom-colour list: its text form, the sixteen colours built from it, its update after the dialog's
// OK, and its round trip through the registry.
#include "CustomColours.h"
#include "CVRegUtils.h"
#include "RegistryTesting.h"

#include <QTest>

using namespace registry;

namespace {
const QString Key = QStringLiteral("Software\\Tintwell Tests\\Storage");
}

class TestCustomColours : public QObject
{
    Q_OBJECT

private slots:
    void coloursFromTheList_data();
    void coloursFromTheList();
    void theFirstOkWritesSixteenLinesInOrder();
    void laterOksChangeLinesWhereTheyStand();
    void theListComesBackFromTheRegistry();
};

void TestCustomColours::coloursFromTheList_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QColor>("colour");

    const QColor white(Qt::white);
    QTest::newRow("red in the low byte") << "ColorC=0000FF" << QColor(255, 0, 0);
    QTest::newRow("lower-case digits") << "ColorC=ff8000" << QColor(0, 128, 255);
    QTest::newRow("top byte set") << "ColorC=FF00FF00" << QColor(0, 255, 0);
    QTest::newRow("name in another case") << "colorc=0000FF" << QColor(255, 0, 0);
    QTest::newRow("not hexadecimal") << "ColorC=XYZ" << white;
    QTest::newRow("hexadecimal prefix") << "ColorC=0x0000FF" << white;
    QTest::newRow("more than eight digits") << "ColorC=1000000FF" << white;
    QTest::newRow("no equals sign") << "ColorC" << white;
}

void TestCustomColours::coloursFromTheList()
{
    QFETCH(QString, line);
    QFETCH(QColor, colour);

    const QList<QColor> colours = CustomColoursFromList({"ColorA=00FF00", line, "ColorP=FF0000"});
    QCOMPARE(colours.size(), CustomColourCount);
    QCOMPARE(colours[0], QColor(0, 255, 0));
    QCOMPARE(colours[2], colour);
    QCOMPARE(colours[3], QColor(Qt::white));
    QCOMPARE(colours[15], QColor(0, 0, 255));
}

void TestCustomColours::theFirstOkWritesSixteenLinesInOrder()
{
    QList<QColor> colours(CustomColourCount, QColor(Qt::white));
    colours[0] = QColor(255, 0, 0);
    colours[15] = QColor(1, 2, 3);
    QStringList list;
    UpdateCustomColourList(list, colours);

    QCOMPARE(list.size(), CustomColourCount);
    QCOMPARE(list.first(), QStringLiteral("ColorA=0000FF"));
    QCOMPARE(list[1], QStringLiteral("ColorB=FFFFFF"));
    QCOMPARE(list.last(), QStringLiteral("ColorP=030201"));
    for (int i = 0; i < CustomColourCount; ++i)
        QVERIFY(list[i].startsWith(QStringLiteral("Color") + QChar('A' + i)));
}

void TestCustomColours::laterOksChangeLinesWhereTheyStand()
{
    QStringList list = {"Comment", "ColorC=XYZ", "Other=1", "ColorA=000000"};
    UpdateCustomColourList(list, QList<QColor>(CustomColourCount, QColor(0, 0, 0x80)));

    QCOMPARE(list.size(), 2 + CustomColourCount);
    QCOMPARE(list.mid(0, 4), QStringList({"Comment", "ColorC=800000", "Other=1", "ColorA=800000"}));
    QCOMPARE(list[4], QStringLiteral("ColorB=800000"));
    QCOMPARE(list.last(), QStringLiteral("ColorP=800000"));
}

void TestCustomColours::theListComesBackFromTheRegistry()
{
    const TempRegistry registry;
    const QStringList present = {"ColorA=FFFFFF"};
    QCOMPARE(RestoreCustomColours(HKEY_LOCAL_MACHINE, Key, present), present);

    const QStringList list = {"ColorB=C0C0C0", "ColorA=0000FF", "ColorC=XYZ"};
    RegWriteValueNames(HKEY_LOCAL_MACHINE, Key, QStringLiteral("CustomColors"), list);
    QCOMPARE(RestoreCustomColours(HKEY_LOCAL_MACHINE, Key, present), list);
    // A save replaces the list as a whole.
    RegWriteValueNames(HKEY_LOCAL_MACHINE, Key, QStringLiteral("CustomColors"), {});
    QCOMPARE(RestoreCustomColours(HKEY_LOCAL_MACHINE, Key, present), QStringList());
}

QTEST_MAIN(TestCustomColours)
#include "tst_customcolours.moc"
