// The preference store: defaults, what Load takes from each kind of stored value, and what Save writes.
#include "Registry.h"
#include "RegistryTesting.h"
#include "uOptions.h"

#include <QFileInfo>
#include <QTest>

#include <memory>

using namespace registry;

namespace {
const QString AppKey = QStringLiteral("Software\\Corvane\\Corvane Devbench\\Tintwell");
const QString OptionsKey = AppKey + QStringLiteral("\\Options");

TRegistry OpenOptionsKey(RegistryAccess access = RegistryAccess::ReadWrite)
{
    TRegistry registry(access);
    registry.setRootKey(HKEY_LOCAL_MACHINE);
    registry.openKey(OptionsKey, access == RegistryAccess::ReadWrite);
    return registry;
}

void VerifyFields(const TTintOptions &options, bool saveWindow, int width, int height, int delay)
{
    QCOMPARE(options.SaveWindow, saveWindow);
    QCOMPARE(options.ThumbnailWidth, width);
    QCOMPARE(options.ThumbnailHeight, height);
    QCOMPARE(options.CaptureDelay, delay);
}
} // namespace

class TestOptions : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_registry = std::make_unique<TempRegistry>(); }
    void cleanup() { m_registry.reset(); }

    void noKeyLeavesDefaultsAndCreatesNothing();
    void saveWritesEveryPreference();
    void nonZeroSaveWindowLoadsTrueAndSavesAsOne();
    void twoRunsKeepEachOthersChanges();
    void valueOfAnotherTypeLeavesOnlyItsField();
    void outOfRangeValuesLoadAsTheyAre();
    void unwritableRegistryKeepsTheValuesInMemory();

private:
    std::unique_ptr<TempRegistry> m_registry;
};

void TestOptions::noKeyLeavesDefaultsAndCreatesNothing()
{
    TTintOptions options(HKEY_LOCAL_MACHINE, AppKey);
    VerifyFields(options, true, 32, 32, 500);
    options.Load();
    VerifyFields(options, true, 32, 32, 500);
    QVERIFY(!QFileInfo::exists(hiveFilePath(HKEY_LOCAL_MACHINE)));

    TRegistry machine;
    machine.setRootKey(HKEY_LOCAL_MACHINE);
    machine.createKey(QStringLiteral("Software")); // a hive without the key
    options.Load();
    VerifyFields(options, true, 32, 32, 500);
    QVERIFY(!machine.keyExists(AppKey));
}

void TestOptions::saveWritesEveryPreference()
{
    TTintOptions options(HKEY_LOCAL_MACHINE, AppKey);
    options.Save(); // unchanged defaults are written too
    options.SaveWindow = false;
    options.ThumbnailWidth = 640;
    options.ThumbnailHeight = 1;
    options.CaptureDelay = 2000;
    options.CaptureZoom = 25;
    options.CaptureSample = 15;
    options.CaptureAllScreens = true;
    options.CaptureSRGB = true;
    options.CopyAsFormat = QStringLiteral("lab");
    options.PaletteFolder = QStringLiteral("/home/ann/Palettes");
    options.Save();

    TRegistry registry = OpenOptionsKey(RegistryAccess::ReadOnly);
    QCOMPARE(registry.valueNames(), QStringList({"SaveWindow", "ThumbnailWidth", "ThumbnailHeight", "CaptureDelay",
                                                 "CaptureZoom", "CaptureSample", "CaptureAllScreens", "CaptureSRGB",
                                                 "CopyAsFormat", "PaletteFolder", "ContrastBackground"}));
    QCOMPARE(registry.readString("PaletteFolder"), QStringLiteral("/home/ann/Palettes"));
    QCOMPARE(registry.readValue("SaveWindow"), std::optional(RegistryValue::fromDword(0)));
    QCOMPARE(registry.readValue("ThumbnailWidth"), std::optional(RegistryValue::fromDword(640)));
    QCOMPARE(registry.readValue("ThumbnailHeight"), std::optional(RegistryValue::fromDword(1)));
    QCOMPARE(registry.readValue("CaptureDelay"), std::optional(RegistryValue::fromDword(2000)));
    QCOMPARE(registry.readValue("CaptureZoom"), std::optional(RegistryValue::fromDword(25)));
    QCOMPARE(registry.readValue("CaptureSample"), std::optional(RegistryValue::fromDword(15)));
    QCOMPARE(registry.readValue("CaptureAllScreens"), std::optional(RegistryValue::fromDword(1)));
    QCOMPARE(registry.readValue("CaptureSRGB"), std::optional(RegistryValue::fromDword(1)));
    QCOMPARE(registry.readValue("CopyAsFormat"), std::optional(RegistryValue::fromString(QStringLiteral("lab"))));

    TTintOptions loaded(HKEY_LOCAL_MACHINE, AppKey);
    QCOMPARE(loaded.CaptureZoom, 9);
    QCOMPARE(loaded.CaptureAllScreens, false);
    loaded.Load();
    VerifyFields(loaded, false, 640, 1, 2000);
    QCOMPARE(loaded.CaptureZoom, 25);
    QCOMPARE(loaded.CaptureAllScreens, true);
    QCOMPARE(loaded.CaptureSRGB, true);
    QCOMPARE(loaded.CopyAsFormat, QStringLiteral("lab"));
}

void TestOptions::nonZeroSaveWindowLoadsTrueAndSavesAsOne()
{
    OpenOptionsKey().writeInteger(QStringLiteral("SaveWindow"), 2);
    TTintOptions options(HKEY_LOCAL_MACHINE, AppKey);
    options.SaveWindow = false;
    options.Load();
    QCOMPARE(options.SaveWindow, true);
    options.Save(); // unchanged: the stored value stays as it is
    QCOMPARE(OpenOptionsKey().readInteger(QStringLiteral("SaveWindow")), 2);
    options.SaveWindow = false;
    options.Save();
    options.SaveWindow = true;
    options.Save();
    QCOMPARE(OpenOptionsKey().readInteger(QStringLiteral("SaveWindow")), 1);
}

// Two runs over one store: each save writes only what its own run changed, so neither undoes the other's.
void TestOptions::twoRunsKeepEachOthersChanges()
{
    TTintOptions first(HKEY_LOCAL_MACHINE, AppKey), second(HKEY_LOCAL_MACHINE, AppKey);
    first.Load();
    second.Load();
    first.ThumbnailWidth = 64;
    first.Save();
    second.CaptureDelay = 600;
    second.Save();
    first.Save();
    second.Save();
    TTintOptions next(HKEY_LOCAL_MACHINE, AppKey);
    next.Load();
    VerifyFields(next, true, 64, 32, 600);
}

void TestOptions::valueOfAnotherTypeLeavesOnlyItsField()
{
    TRegistry registry = OpenOptionsKey();
    registry.writeBool(QStringLiteral("SaveWindow"), false);
    registry.writeString(QStringLiteral("ThumbnailWidth"), QStringLiteral("64"));
    registry.writeInteger(QStringLiteral("ThumbnailHeight"), 48);
    registry.writeInteger(QStringLiteral("CaptureDelay"), 250);

    // A text of an odd length in bytes keeps its last character.
    registry.writeValue(QStringLiteral("CopyAsFormat"), RegistryValue{REG_SZ, QByteArray("h\0s\0l", 5)});

    TTintOptions options(HKEY_LOCAL_MACHINE, AppKey);
    options.Load();
    VerifyFields(options, false, 32, 48, 250);
    QCOMPARE(options.CopyAsFormat, QStringLiteral("hsl"));
    options.ThumbnailWidth = 33;
    options.Save();
    QCOMPARE(registry.readValue(QStringLiteral("ThumbnailWidth")), std::optional(RegistryValue::fromDword(33)));
}

void TestOptions::outOfRangeValuesLoadAsTheyAre()
{
    TRegistry registry = OpenOptionsKey();
    registry.writeInteger(QStringLiteral("ThumbnailWidth"), 0);
    registry.writeInteger(QStringLiteral("ThumbnailHeight"), -7);
    registry.writeInteger(QStringLiteral("CaptureDelay"), 5000);
    TTintOptions options(HKEY_LOCAL_MACHINE, AppKey);
    options.Load();
    VerifyFields(options, true, 0, -7, 5000);
    options.Save();
    QCOMPARE(registry.readInteger(QStringLiteral("CaptureDelay")), 5000);
}

void TestOptions::unwritableRegistryKeepsTheValuesInMemory()
{
    OpenOptionsKey().writeInteger(QStringLiteral("CaptureDelay"), 900);
    TTintOptions options(HKEY_LOCAL_MACHINE, AppKey);
    {
        const RefusedWrites refused;
        options.Load();
        VerifyFields(options, true, 32, 32, 900);
        options.ThumbnailWidth = 100;
        options.Save();
        QCOMPARE(options.ThumbnailWidth, 100);
    }
    QVERIFY(!OpenOptionsKey().valueExists(QStringLiteral("ThumbnailWidth")));
}

QTEST_GUILESS_MAIN(TestOptions)
#include "tst_options.moc"
