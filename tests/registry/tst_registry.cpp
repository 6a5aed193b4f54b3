// The registry store and its accessor: case rules, create-on-write, subtree deletes, typed values and
// their errors, listing order, odd names, limits, read-only access and the files on disk.
#include "Registry.h"
#include "RegistryTesting.h"

#include <QFileInfo>
#include <QTest>

#include <memory>

using namespace registry;

Q_DECLARE_METATYPE(RegistryValue)

namespace {
const QString Key = QStringLiteral("Software\\Corvane\\Tintwell");

TRegistry OpenMachineKey(const QString &key, RegistryAccess access = RegistryAccess::ReadWrite)
{
    TRegistry registry(access);
    registry.setRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.openKey(key, true)) qFatal("cannot open %s", qPrintable(key));
    return registry;
}

// The message of the ERegistryException that action raises, or an empty text when it raises none.
template <typename Action> QString RegistryErrorOf(Action action)
{
    try {
        action();
    } catch (const ERegistryException &error) {
        return error.message();
    }
    return {};
}
// A key that holds a list, replaced as a whole, as the program keeps one.
void AddTestList(RegistryBatch &batch, const QString &key, const QStringList &names)
{
    batch.deleteKey(key);
    batch.createKey(key);
    for (const QString &name : names)
        batch.setValue(key, name, RegistryValue::fromString(QString()));
}
} // namespace

class TestRegistry : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_registry = std::make_unique<TempRegistry>(); }
    void cleanup() { m_registry.reset(); }

    void keysIgnoreCaseAndKeepTheirFirstSpelling();
    void valueNamesIgnoreCaseAndKeepTheirPlace();
    void writingCreatesMissingKeysAndReadingCreatesNothing();
    void deletingAKeyDeletesItsSubtreeOnly();
    void valuesKeepTheirTypeAndBytes_data();
    void valuesKeepTheirTypeAndBytes();
    void typedReadsRefuseOtherData_data();
    void typedReadsRefuseOtherData();
    void oddValueNamesAreKeptWhole_data();
    void oddValueNamesAreKeptWhole();
    void limits_data();
    void limits();
    void keysOpenRelativeToTheOpenKey();
    void readOnlyAccessorNeverWrites();
    void batchIsAllOrNothing();
    void batchWithoutItsBaseline();
    void hivesAreSeparatePrivateFiles();

private:
    std::unique_ptr<TempRegistry> m_registry;
};

void TestRegistry::keysIgnoreCaseAndKeepTheirFirstSpelling()
{
    TRegistry registry = OpenMachineKey(QStringLiteral("Software\\Corvane"));
    registry.createKey(QStringLiteral("Devbench"));
    registry.createKey(QStringLiteral("alpha"));
    registry.createKey(QStringLiteral("DEVBENCH\\Tintwell"));

    QVERIFY(registry.keyExists(QStringLiteral("\\SOFTWARE\\corvane\\devBench\\TINTWELL")));
    QCOMPARE(registry.keyNames(), QStringList({"alpha", "Devbench"})); // sorted as Windows lists them
    QVERIFY(registry.openKey(QStringLiteral("devbench"), false));
    QCOMPARE(registry.keyNames(), QStringList({"Tintwell"}));
    // Only ASCII letters fold.
    registry.createKey(QStringLiteral("Größe"));
    QVERIFY(registry.keyExists(QStringLiteral("GRößE")));
    QVERIFY(!registry.keyExists(QStringLiteral("GRÖßE")));
}

void TestRegistry::valueNamesIgnoreCaseAndKeepTheirPlace()
{
    TRegistry registry = OpenMachineKey(Key);
    for (const char *name : {"Zeta", "alpha", "Mid"})
        registry.writeString(QString::fromLatin1(name), "x");
    registry.deleteValue(QStringLiteral("ALPHA"));
    registry.writeInteger(QStringLiteral("beta"), 1);
    registry.writeInteger(QStringLiteral("ZETA"), 7); // a rewrite keeps the place and the first spelling

    QCOMPARE(registry.valueNames(), QStringList({"Zeta", "Mid", "beta"}));
    QCOMPARE(registry.readInteger(QStringLiteral("zeta")), 7);
    QCOMPARE(registry.readValue(QStringLiteral("zETa"))->type, quint32(REG_DWORD));
}

void TestRegistry::writingCreatesMissingKeysAndReadingCreatesNothing()
{
    TRegistry reader(RegistryAccess::ReadOnly);
    reader.setRootKey(HKEY_LOCAL_MACHINE);
    QVERIFY(!reader.openKey(Key, false));
    TRegistry writer(RegistryAccess::ReadWrite);
    writer.setRootKey(HKEY_LOCAL_MACHINE);
    QVERIFY(!writer.openKey(Key, false));
    QVERIFY(!QFileInfo::exists(hiveFilePath(HKEY_LOCAL_MACHINE)));

    QVERIFY(writer.openKey(Key + QStringLiteral("\\Options"), true));
    writer.writeInteger(QStringLiteral("CaptureDelay"), 500);
    for (const QString &key : {QStringLiteral("Software"), QStringLiteral("Software\\Corvane"), Key})
        QVERIFY2(reader.keyExists(u'\\' + key), qPrintable(key));
    QVERIFY(reader.openKey(Key + QStringLiteral("\\Options"), false));
    QCOMPARE(reader.readInteger(QStringLiteral("CaptureDelay")), 500);
}

void TestRegistry::deletingAKeyDeletesItsSubtreeOnly()
{
    TRegistry registry = OpenMachineKey(Key);
    registry.writeString(QStringLiteral("Kept"), "yes");
    registry.openKey(QStringLiteral("Storage\\CustomColors"), true);
    registry.writeString(QStringLiteral("ColorA=FFFFFF"), {});
    registry.openKey(QStringLiteral("\\") + Key + QStringLiteral("\\StorageOld"), true);
    registry.writeString(QStringLiteral("Sibling"), "yes");

    registry.closeKey();
    QVERIFY(registry.deleteKey(Key + QStringLiteral("\\STORAGE")));
    QVERIFY(!registry.deleteKey(Key + QStringLiteral("\\Storage")));

    QVERIFY(!registry.keyExists(Key + QStringLiteral("\\Storage\\CustomColors")));
    QVERIFY(registry.openKey(Key, false));
    QCOMPARE(registry.keyNames(), QStringList({"StorageOld"}));
    QCOMPARE(registry.readString(QStringLiteral("Kept")), QStringLiteral("yes"));
    // A new key of the same name starts empty: nothing of the old subtree comes back.
    QVERIFY(registry.openKey(QStringLiteral("Storage\\CustomColors"), true));
    QVERIFY(registry.valueNames().isEmpty());
}

void TestRegistry::valuesKeepTheirTypeAndBytes_data()
{
    QTest::addColumn<RegistryValue>("value");
    QTest::newRow("REG_NONE") << RegistryValue{REG_NONE, QByteArray("\x01\x00", 2)};
    QTest::newRow("REG_SZ") << RegistryValue::fromString(QStringLiteral("C:\\Tintwell — ünïcode"));
    QTest::newRow("REG_SZ empty") << RegistryValue::fromString({});
    QTest::newRow("REG_EXPAND_SZ") << RegistryValue::fromString(QStringLiteral("%HOME%/x"), REG_EXPAND_SZ);
    QTest::newRow("REG_BINARY") << RegistryValue{REG_BINARY, QByteArray("\x00\xFF\x10\x00", 4)};
    QTest::newRow("REG_BINARY empty") << RegistryValue{REG_BINARY, {}};
    QTest::newRow("REG_DWORD") << RegistryValue::fromDword(0xFFFFFFFE);
    QTest::newRow("REG_DWORD_BIG_ENDIAN") << RegistryValue::fromDwordBigEndian(0x01020304);
    QTest::newRow("REG_MULTI_SZ") << RegistryValue::fromMultiString({"one", "two"});
    QTest::newRow("REG_QWORD") << RegistryValue::fromQword(0x0102030405060708);
    QTest::newRow("unnamed type 8") << RegistryValue{8, QByteArray("abc")};
}

void TestRegistry::valuesKeepTheirTypeAndBytes()
{
    QFETCH(RegistryValue, value);
    OpenMachineKey(Key).writeValue(QStringLiteral("Value"), value);
    TRegistry reader = OpenMachineKey(Key, RegistryAccess::ReadOnly);
    QCOMPARE(reader.readValue(QStringLiteral("Value")), std::optional(value));
}

void TestRegistry::typedReadsRefuseOtherData_data()
{
    QTest::addColumn<RegistryValue>("value");
    QTest::addColumn<bool>("asInteger"); // else as a string
    QTest::newRow("integer from REG_SZ") << RegistryValue::fromString(QStringLiteral("64")) << true;
    QTest::newRow("integer from REG_BINARY of four bytes") << RegistryValue{REG_BINARY, QByteArray(4, '\1')} << true;
    QTest::newRow("integer from REG_DWORD_BIG_ENDIAN") << RegistryValue::fromDwordBigEndian(1) << true;
    QTest::newRow("integer from REG_QWORD") << RegistryValue::fromQword(1) << true;
    QTest::newRow("integer from short REG_DWORD") << RegistryValue{REG_DWORD, QByteArray(2, '\1')} << true;
    QTest::newRow("integer from long REG_DWORD") << RegistryValue{REG_DWORD, QByteArray(8, '\1')} << true;
    QTest::newRow("string from REG_DWORD") << RegistryValue::fromDword(1) << false;
    QTest::newRow("string from REG_MULTI_SZ") << RegistryValue::fromMultiString({"a"}) << false;
}

void TestRegistry::typedReadsRefuseOtherData()
{
    QFETCH(RegistryValue, value);
    QFETCH(bool, asInteger);
    TRegistry registry = OpenMachineKey(Key);
    registry.writeValue(QStringLiteral("Width"), value);
    QCOMPARE(RegistryErrorOf([&] { asInteger ? registry.readInteger("Width") : registry.readString("Width").size(); }),
             QStringLiteral("Invalid data type for 'Width'"));
    QCOMPARE(registry.readValue(QStringLiteral("Width")), std::optional(value)); // the value itself stays
}

void TestRegistry::oddValueNamesAreKeptWhole_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("equals sign") << QStringLiteral("ColorA=FFFFFF");
    QTest::newRow("default value") << QString();
    QTest::newRow("backslashes") << QStringLiteral("a\\b\\");
    QTest::newRow("quotes and percent") << QStringLiteral("\"%s\" '%d'");
    QTest::newRow("control characters") << QStringLiteral("tab\there\nnew line\r");
    QTest::newRow("non-ASCII") << QStringLiteral("Größe ✓ 😀");
    QTest::newRow("SQL") << QStringLiteral("x'); DROP TABLE vals; --");
    QTest::newRow("longest") << QString(MaxValueNameLength, u'n');
}

void TestRegistry::oddValueNamesAreKeptWhole()
{
    QFETCH(QString, name);
    TRegistry registry = OpenMachineKey(Key);
    registry.writeString(QStringLiteral("Before"), {});
    registry.writeString(name, QStringLiteral("data"));
    TRegistry reader = OpenMachineKey(Key, RegistryAccess::ReadOnly);
    QCOMPARE(reader.valueNames(), QStringList({QStringLiteral("Before"), name}));
    QCOMPARE(reader.readString(name), QStringLiteral("data"));
}

void TestRegistry::limits_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("valueName");
    QTest::addColumn<QString>("error");
    const QString longKeyName(MaxKeyNameLength + 1, u'k');
    const QString deepKey = QStringList(MaxKeyDepth + 1, QStringLiteral("d")).join(u'\\');
    QTest::newRow("key name of 255") << QString(MaxKeyNameLength, u'k') << "v" << QString();
    QTest::newRow("key name of 256") << longKeyName << "v" << QStringLiteral("Failed to create key ") + longKeyName;
    QTest::newRow("512 levels") << QStringList(MaxKeyDepth, QStringLiteral("d")).join(u'\\') << "v" << QString();
    QTest::newRow("513 levels") << deepKey << "v" << QStringLiteral("Failed to create key ") + deepKey;
    QTest::newRow("empty key name inside") << "a\\\\b"
                                           << "v" << QStringLiteral("Failed to create key a\\\\b");
    QTest::newRow("control character in a key name") << "a\nb"
                                                     << "v" << QStringLiteral("Failed to create key a\nb");
    QTest::newRow("value name of 16384")
        << "k" << QString(MaxValueNameLength + 1, u'v')
        << QStringLiteral("Failed to set data for '%1'").arg(QString(MaxValueNameLength + 1, u'v'));
    QTest::newRow("NUL in a value name") << "k" << QStringLiteral("a%1b").arg(QChar(0))
                                         << QStringLiteral("Failed to set data for 'a%1b'").arg(QChar(0));
}

void TestRegistry::limits()
{
    QFETCH(QString, key);
    QFETCH(QString, valueName);
    QFETCH(QString, error);
    TRegistry registry;
    registry.setRootKey(HKEY_CURRENT_USER);
    const QString raised = RegistryErrorOf([&] {
        registry.createKey(key);
        registry.openKey(key, false);
        registry.writeInteger(valueName, 1);
    });
    QCOMPARE(raised, error);
    if (error.isEmpty()) QCOMPARE(registry.readInteger(valueName), 1);
    // Whatever failed left nothing behind, and openKey just says no.
    if (!error.isEmpty()) QVERIFY(!registry.valueExists(valueName));
    if (error.startsWith(QLatin1String("Failed to create key"))) QVERIFY(!registry.openKey(u'\\' + key, true));
}

void TestRegistry::keysOpenRelativeToTheOpenKey()
{
    TRegistry registry = OpenMachineKey(Key);
    QVERIFY(registry.openKey(QStringLiteral("Options"), true));
    QCOMPARE(registry.currentPath(), Key + QStringLiteral("\\Options"));
    QVERIFY(registry.openKey(QStringLiteral("\\Software"), false));
    QCOMPARE(registry.currentPath(), QStringLiteral("Software"));
    QVERIFY(registry.keyExists(QStringLiteral("Corvane\\Tintwell\\Options")));
    registry.closeKey();
    QCOMPARE(registry.keyNames(), QStringList({"Software"}));
}

void TestRegistry::readOnlyAccessorNeverWrites()
{
    OpenMachineKey(Key).writeInteger(QStringLiteral("Stored"), 3);
    TRegistry reader = OpenMachineKey(Key, RegistryAccess::ReadOnly);
    QCOMPARE(RegistryErrorOf([&] { reader.writeInteger(QStringLiteral("Stored"), 4); }),
             QStringLiteral("Failed to set data for 'Stored'"));
    QVERIFY(!reader.openKey(QStringLiteral("New"), true));
    QCOMPARE(RegistryErrorOf([&] { reader.createKey(QStringLiteral("New")); }),
             QStringLiteral("Failed to create key New"));
    QCOMPARE(reader.readInteger(QStringLiteral("Stored")), 3);
    QVERIFY(!reader.keyExists(QStringLiteral("New")));

    // Nor does a read-only accessor create a hive that is not there.
    TRegistry otherHive(RegistryAccess::ReadOnly);
    otherHive.setRootKey(HKEY_CURRENT_USER);
    QVERIFY(!otherHive.openKey(Key, true));
    QVERIFY(!QFileInfo::exists(hiveFilePath(HKEY_CURRENT_USER)));
}

void TestRegistry::batchIsAllOrNothing()
{
    TRegistry registry = OpenMachineKey(Key);
    registry.writeString(QStringLiteral("Old"), QStringLiteral("kept"));
    RegistryBatch batch;
    batch.deleteValue(Key, QStringLiteral("Old"));
    batch.setValue(Key + QStringLiteral("\\New"), QStringLiteral("A"), RegistryValue::fromDword(1));
    batch.setValue(Key, QString(MaxValueNameLength + 1, u'x'), RegistryValue::fromDword(1)); // fails last
    QVERIFY_THROWS_EXCEPTION(RegistryStoreError, registry.apply(batch));
    QCOMPARE(registry.readString(QStringLiteral("Old")), QStringLiteral("kept"));
    QVERIFY(!registry.keyExists(QStringLiteral("New")));
}

// What a save writes after a read that failed: a value changed since, a list replaced with other names; not a
// value set alike, nor a list replaced alike.
void TestRegistry::batchWithoutItsBaseline()
{
    const auto batch = [](int colour, const QStringList &list) {
        RegistryBatch changes;
        changes.setValue(Key, QStringLiteral("Colour"), RegistryValue::fromDword(std::uint32_t(colour)));
        changes.setValue(Key, QStringLiteral("Slot"), RegistryValue::fromDword(7));
        AddTestList(changes, Key + QStringLiteral("\\List"), list);
        return changes;
    };
    const RegistryBatch baseline = batch(1, {"A", "B"});
    QVERIFY(batch(1, {"A", "B"}).without(baseline).changes().isEmpty());
    const RegistryBatch changed = batch(2, {"A", "C"}).without(baseline);
    QCOMPARE(changed.changes().size(), 1 + 2 + 2); // the colour; the list deleted, created and filled
    QCOMPARE(changed.changes().first().name, QStringLiteral("Colour"));
    QCOMPARE(batch(1, {"A"}).without(baseline).changes().first().kind, RegistryBatch::Kind::DeleteKey);
}

void TestRegistry::hivesAreSeparatePrivateFiles()
{
    const QString nested = m_registry->path() + QStringLiteral("/config/corvane/registry");
    qputenv("TINTWELL_REGISTRY_DIR", nested.toLocal8Bit());
    TRegistry machine = OpenMachineKey(Key);
    machine.writeInteger(QStringLiteral("Machine"), 1);
    TRegistry user;
    user.setRootKey(HKEY_CURRENT_USER);
    QVERIFY(!user.keyExists(Key));

    QCOMPARE(hiveFilePath(HKEY_LOCAL_MACHINE), nested + QStringLiteral("/HKEY_LOCAL_MACHINE.db"));
    const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    QCOMPARE(QFileInfo(hiveFilePath(HKEY_LOCAL_MACHINE)).permissions(), ownerOnly);
    for (const QString &dir : {nested, m_registry->path() + QStringLiteral("/config/corvane")})
        QCOMPARE(QFileInfo(dir).permissions(), ownerOnly | QFile::ExeOwner | QFile::ExeUser);
}

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
