// The seven registry operations: defaults for whatever cannot be read, writes that create their keys,
// value-name lists, and a hive that may be read but not written.
#include "CVRegUtils.h"
#include "CVStoreNotices.h"
#include "Registry.h"
#include "RegistryTesting.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <limits>
#include <memory>

using namespace registry;

Q_DECLARE_METATYPE(RegistryValue)

namespace {
const QString Key = QStringLiteral("Software\\Corvane\\Corvane Devbench\\Tintwell");
const QString Storage = Key + QStringLiteral("\\Storage");

TRegistry OpenKey(const QString &key)
{
    TRegistry registry;
    registry.setRootKey(HKEY_LOCAL_MACHINE);
    registry.openKey(key, true);
    return registry;
}
} // namespace

class TestRegUtils : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_registry = std::make_unique<TempRegistry>(); }
    void cleanup() { m_registry.reset(); }

    void readingAMissingKeyGivesTheDefaultAndCreatesNothing();
    void readingAnotherTypeGivesTheDefault_data();
    void readingAnotherTypeGivesTheDefault();
    void writesCreateTheirKeyAndReadBack();
    void booleansAreStoredAsOneAndZero();
    void valueNameListReplacesTheSubkey();
    void missingValueNameListGivesTheCallersList();
    void emptySubkeyNeitherReadsNorDeletesTheKey();
    void unwritableHiveIsReadNormally();
    void unsoundHiveGivesDefaultsAndTakesNoWrites();
    void storeWarningsSayWhatTheRunMet_data();
    void storeWarningsSayWhatTheRunMet();

private:
    std::unique_ptr<TempRegistry> m_registry;
};

void TestRegUtils::readingAMissingKeyGivesTheDefaultAndCreatesNothing()
{
    QCOMPARE(RegReadInteger(HKEY_LOCAL_MACHINE, Key, "Width", 32), 32);
    QCOMPARE(RegReadBool(HKEY_LOCAL_MACHINE, Key, "SaveWindow", true), true);
    QVERIFY(!QFileInfo::exists(hiveFilePath(HKEY_LOCAL_MACHINE)));

    RegWriteInteger(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Other"), "x", 1);
    QCOMPARE(RegReadInteger(HKEY_LOCAL_MACHINE, Key, "Width", -5), -5);
    QCOMPARE(RegReadInteger(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Other"), "Width", 7), 7);
    QVERIFY(!OpenKey(QString()).keyExists(Key));
}

void TestRegUtils::readingAnotherTypeGivesTheDefault_data()
{
    QTest::addColumn<RegistryValue>("stored");
    QTest::newRow("REG_SZ 64") << RegistryValue::fromString(QStringLiteral("64"));
    QTest::newRow("REG_BINARY of four bytes") << RegistryValue{REG_BINARY, QByteArray("\x40\0\0\0", 4)};
    QTest::newRow("REG_DWORD_BIG_ENDIAN") << RegistryValue::fromDwordBigEndian(64);
    QTest::newRow("REG_DWORD of eight bytes") << RegistryValue{REG_DWORD, QByteArray("\x40\0\0\0\0\0\0\0", 8)};
    QTest::newRow("REG_DWORD of two bytes") << RegistryValue{REG_DWORD, QByteArray("\x40\0", 2)};
}

void TestRegUtils::readingAnotherTypeGivesTheDefault()
{
    QFETCH(RegistryValue, stored);
    OpenKey(Key).writeValue(QStringLiteral("Width"), stored);
    QCOMPARE(RegReadInteger(HKEY_LOCAL_MACHINE, Key, "Width", 32), 32);
    QCOMPARE(RegReadBool(HKEY_LOCAL_MACHINE, Key, "Width", false), false);
}

void TestRegUtils::writesCreateTheirKeyAndReadBack()
{
    RegWriteString(HKEY_LOCAL_MACHINE, Key, "Location", QStringLiteral("/opt/tintwell/bin/tintwell"));
    RegWriteInteger(HKEY_LOCAL_MACHINE, Key + QStringLiteral("\\Options"), "CaptureDelay", -1);
    RegWriteInteger(HKEY_LOCAL_MACHINE, Key + QStringLiteral("\\Options"), "CaptureDelay", 750); // replaces

    QCOMPARE(OpenKey(Key).readString(QStringLiteral("Location")), QStringLiteral("/opt/tintwell/bin/tintwell"));
    QCOMPARE(OpenKey(Key + QStringLiteral("\\Options")).readValue(QStringLiteral("CaptureDelay")),
             std::optional(RegistryValue::fromDword(750)));
    QCOMPARE(RegReadInteger(HKEY_LOCAL_MACHINE, Key + QStringLiteral("\\Options"), "CaptureDelay", 0), 750);
    RegWriteInteger(HKEY_LOCAL_MACHINE, Key, "Min", std::numeric_limits<qint32>::min());
    QCOMPARE(RegReadInteger(HKEY_LOCAL_MACHINE, Key, "Min", 0), std::numeric_limits<qint32>::min());
}

void TestRegUtils::booleansAreStoredAsOneAndZero()
{
    RegWriteBool(HKEY_LOCAL_MACHINE, Key, "SaveWindow", true);
    QCOMPARE(RegReadInteger(HKEY_LOCAL_MACHINE, Key, "SaveWindow", 5), 1);
    RegWriteBool(HKEY_LOCAL_MACHINE, Key, "SaveWindow", false);
    QCOMPARE(RegReadInteger(HKEY_LOCAL_MACHINE, Key, "SaveWindow", 5), 0);
    QCOMPARE(RegReadBool(HKEY_LOCAL_MACHINE, Key, "SaveWindow", true), false);
    RegWriteInteger(HKEY_LOCAL_MACHINE, Key, "SaveWindow", -2);
    QCOMPARE(RegReadBool(HKEY_LOCAL_MACHINE, Key, "SaveWindow", false), true);
}

void TestRegUtils::valueNameListReplacesTheSubkey()
{
    TRegistry before = OpenKey(Storage + QStringLiteral("\\CustomColors"));
    before.writeInteger(QStringLiteral("Old"), 1);
    before.writeString(QStringLiteral("ColorB=000000"), {});
    before.createKey(QStringLiteral("Nested"));

    const QStringList colours{"ColorA=0000FF", "ColorB=FFFFFF"};
    RegWriteValueNames(HKEY_LOCAL_MACHINE, Storage, "CustomColors", colours);

    TRegistry after = OpenKey(Storage + QStringLiteral("\\CustomColors"));
    QCOMPARE(after.valueNames(), colours);
    QVERIFY(after.keyNames().isEmpty());
    for (const QString &name : colours)
        QCOMPARE(after.readValue(name), std::optional(RegistryValue::fromString(QString())));
    QCOMPARE(RegReadValueNames(HKEY_LOCAL_MACHINE, Storage, "customcolors", {"default"}), colours);

    RegWriteValueNames(HKEY_LOCAL_MACHINE, Storage, "CustomColors", {});
    QVERIFY(OpenKey(Storage).keyExists(QStringLiteral("CustomColors")));
    QCOMPARE(RegReadValueNames(HKEY_LOCAL_MACHINE, Storage, "CustomColors", {"default"}), QStringList());
}

void TestRegUtils::missingValueNameListGivesTheCallersList()
{
    const QStringList defaults{"ColorA=FFFFFF"};
    RegWriteString(HKEY_LOCAL_MACHINE, Storage, "pCurrentColor_Color", "16777215");
    const QStringList read = RegReadValueNames(HKEY_LOCAL_MACHINE, Storage, "CustomColors", defaults);
    QCOMPARE(read, defaults);
    QVERIFY(read.isSharedWith(defaults)); // the caller's own list, not a copy of it
    QCOMPARE(RegReadValueNames(HKEY_LOCAL_MACHINE, Key + QStringLiteral("\\Missing"), "CustomColors", defaults),
             defaults);
}

void TestRegUtils::emptySubkeyNeitherReadsNorDeletesTheKey()
{
    RegWriteString(HKEY_LOCAL_MACHINE, Storage, "pCurrentColor_Color", "255");
    RegWriteValueNames(HKEY_LOCAL_MACHINE, Storage, "", {"x"});
    QCOMPARE(OpenKey(Storage).valueNames(), QStringList({"pCurrentColor_Color"}));
    QCOMPARE(RegReadValueNames(HKEY_LOCAL_MACHINE, Storage, "", {"default"}), QStringList({"default"}));
}

void TestRegUtils::unwritableHiveIsReadNormally()
{
    RegWriteInteger(HKEY_LOCAL_MACHINE, Key, "Width", 64);
    RegWriteValueNames(HKEY_LOCAL_MACHINE, Storage, "CustomColors", {"ColorA=0000FF"});
    {
        const RefusedWrites refused;
        QCOMPARE(RegReadInteger(HKEY_LOCAL_MACHINE, Key, "Width", 32), 64);
        QCOMPARE(RegReadValueNames(HKEY_LOCAL_MACHINE, Storage, "CustomColors", {}), QStringList({"ColorA=0000FF"}));

        RegWriteInteger(HKEY_LOCAL_MACHINE, Key, "Width", 100);
        RegWriteValueNames(HKEY_LOCAL_MACHINE, Storage, "CustomColors", {});
        RegWriteString(HKEY_LOCAL_MACHINE, Key, "Version", "1.4");
        QCOMPARE(RegReadInteger(HKEY_LOCAL_MACHINE, Key, "Width", 32), 64);
    }
    QCOMPARE(RegReadValueNames(HKEY_LOCAL_MACHINE, Storage, "CustomColors", {}), QStringList({"ColorA=0000FF"}));
    QVERIFY(!OpenKey(Key).valueExists(QStringLiteral("Version")));
}

void TestRegUtils::unsoundHiveGivesDefaultsAndTakesNoWrites()
{
    QFile hive(hiveFilePath(HKEY_LOCAL_MACHINE));
    QVERIFY(hive.open(QIODevice::WriteOnly));
    hive.write(QByteArray(5000, '\x5A'));
    hive.close();
    RegWriteInteger(HKEY_LOCAL_MACHINE, Key, "Width", 100);
    RegWriteValueNames(HKEY_LOCAL_MACHINE, Storage, "CustomColors", {"x"});
    QCOMPARE(RegReadInteger(HKEY_LOCAL_MACHINE, Key, "Width", 32), 32);
    QCOMPARE(RegReadValueNames(HKEY_LOCAL_MACHINE, Storage, "CustomColors", {"d"}), QStringList({"d"}));
    QVERIFY(hive.open(QIODevice::ReadOnly));
    QCOMPARE(hive.readAll(), QByteArray(5000, '\x5A'));
}

// The warning tells what the run met: a store that could not be read, even where a write met the same trouble
// first, is said as settings not read and the defaults shown.
void TestRegUtils::storeWarningsSayWhatTheRunMet_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<bool>("writtenFirst");
    QTest::addColumn<QString>("says");
    QTest::newRow("held at the start") << int(RegistryFault::Busy) << true
                                       << "could not be read: the window shows the defaults";
    QTest::newRow("held at a save") << int(RegistryFault::Busy) << false << "they were not saved";
    QTest::newRow("another user's") << int(RegistryFault::ReadOnly) << true << "cannot be read: another user's";
}

void TestRegUtils::storeWarningsSayWhatTheRunMet()
{
    QFETCH(int, fault);
    QFETCH(bool, writtenFirst);
    QFETCH(QString, says);
    while (TakeStoreWarning()) { // what the tests before met
    }
    const RegistryStoreError error(QStringLiteral("trouble"), RegistryFault(fault),
                                   QStringLiteral("/tmp/%1/hive.db").arg(QLatin1String(QTest::currentDataTag())));
    NoteStoreFailure(error);
    if (writtenFirst) NoteStoreFailure(error, StoreUse::Reading);
    const std::optional<ECVException> warning = TakeStoreWarning();
    QVERIFY(warning);
    QVERIFY2(warning->ErrorMessage.contains(says), qPrintable(warning->ErrorMessage));
    QVERIFY(!TakeStoreWarning());
}

QTEST_GUILESS_MAIN(TestRegUtils)
#include "tst_regutils.moc"
