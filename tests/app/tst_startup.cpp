// Start-up and shutdown of the real program parts: the identity taken from this very executable (which
// carries a version block), the records written at every start, the preferences loaded before and saved
// after the window's life, and the splash screen.
#include "CVApp.h"
#include "CVRegUtils.h"
#include "CVSplashFrm2.h"
#include "frmHolder.h"
#include "Registry.h"
#include "RegistryTesting.h"
#include "uOptions.h"
#include "uRes.h"

#include <QFileInfo>
#include <QLabel>
#include <QTest>

using namespace registry;

using namespace colour;

namespace {
const QString AppKey = QStringLiteral("Software\\Corvane\\Corvane Devbench\\Tintwell");
const QString OptionsKey = AppKey + QStringLiteral("\\Options");

QString ReadString(const QString &key, const QString &name)
{
    TRegistry registry(RegistryAccess::ReadOnly);
    registry.setRootKey(HKEY_LOCAL_MACHINE);
    return registry.openKey(key, false) ? registry.readString(name) : QString();
}

bool KeyExists(const QString &key)
{
    TRegistry registry(RegistryAccess::ReadOnly);
    registry.setRootKey(HKEY_LOCAL_MACHINE);
    return registry.keyExists(key);
}
} // namespace

class TestStartUp : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_registry = std::make_unique<TempRegistry>(); }
    void cleanup()
    {
        ShutDown();
        m_registry.reset();
    }

    void identityComesFromTheRunningExecutable();
    void recordsAreRewrittenAtEveryStart();
    void preferencesLoadAtStartAndSaveAtShutdown();
    void splashPictureAndLabels();
    void splashIsGoneWhenStartUpReturns();

private:
    std::unique_ptr<TempRegistry> m_registry;
};

void TestStartUp::identityComesFromTheRunningExecutable()
{
    StartUp(std::chrono::milliseconds(0));
    QVERIFY(Application);
    const QFileInfo self(QCoreApplication::applicationFilePath());
    QCOMPARE(Application->ExeName, self.canonicalFilePath());
    QCOMPARE(Application->ExePath, self.canonicalPath() + '/');
    QCOMPARE(Application->HelpFile, self.canonicalPath() + "/tst_startup.qch");
    QCOMPARE(Application->RegRoot, HKEY_LOCAL_MACHINE);
    QCOMPARE(Application->RegAppKey, AppKey);
    QCOMPARE(Application->LongName, QStringLiteral("Corvane Tintwell"));
    QCOMPARE(ApplicationTitle(), QStringLiteral("Corvane Tintwell"));
    QCOMPARE(Application->VersionText, QStringLiteral("1.4.0 Build 26"));
    QCOMPARE(Application->Copyright, QStringLiteral("Test copyright"));
    QVERIFY(Application->EnglishUI);
    QVERIFY(Application->SpecialVersion.isEmpty());
    QVERIFY(!Application->AppIcon.pixmap(16, 16).isNull());
    QVERIFY(!Application->AppIcon.pixmap(512, 512).isNull());
    QCOMPARE(Application->AccentColour, Colour(0x00A56E3A));
    QVERIFY(!Application->WebAddresses->WebSite.isEmpty());
    QVERIFY(Application->WebAddresses->EMail.contains('@'));

    ShutDown();
    QVERIFY(!Application);
    QVERIFY(!TintOptions);
}

void TestStartUp::recordsAreRewrittenAtEveryStart()
{
    StartUp(std::chrono::milliseconds(0));
    const QString folder = Application->ExePath;
    QCOMPARE(ReadString(AppKey, "Location"), folder);
    QCOMPARE(ReadString(AppKey, "Version"), QStringLiteral("1.4.0 Build 26"));
    ShutDown();

    RegWriteString(HKEY_LOCAL_MACHINE, AppKey, "Location", "/elsewhere/");
    RegWriteString(HKEY_LOCAL_MACHINE, AppKey, "Version", "0.9.0 Build 1");
    StartUp(std::chrono::milliseconds(0));
    QCOMPARE(ReadString(AppKey, "Location"), folder);
    QCOMPARE(ReadString(AppKey, "Version"), QStringLiteral("1.4.0 Build 26"));
}

void TestStartUp::preferencesLoadAtStartAndSaveAtShutdown()
{
    RegWriteInteger(HKEY_LOCAL_MACHINE, OptionsKey, "CaptureDelay", 900);
    StartUp(std::chrono::milliseconds(0));
    QVERIFY(TintOptions);
    QCOMPARE(TintOptions->CaptureDelay, 900);
    // Loading is all start-up does with them: nothing else is written until shutdown.
    QCOMPARE(RegReadInteger(HKEY_LOCAL_MACHINE, OptionsKey, "ThumbnailWidth", -1), -1);

    TintOptions->ThumbnailWidth = 77;
    ShutDown();
    QCOMPARE(RegReadInteger(HKEY_LOCAL_MACHINE, OptionsKey, "ThumbnailWidth", -1), 77);
    QCOMPARE(RegReadInteger(HKEY_LOCAL_MACHINE, OptionsKey, "CaptureDelay", -1), 900);
    QVERIFY(KeyExists(OptionsKey));

    // A second shutdown finds nothing left to save.
    RegWriteInteger(HKEY_LOCAL_MACHINE, OptionsKey, "ThumbnailWidth", 5);
    ShutDown();
    QCOMPARE(RegReadInteger(HKEY_LOCAL_MACHINE, OptionsKey, "ThumbnailWidth", -1), 5);
}

void TestStartUp::splashPictureAndLabels()
{
    const auto bitmap = LoadSplashPicture();
    QVERIFY(bitmap);
    QCOMPARE(bitmap->size(), QSize(500, 400));

    TCVApplication application;
    application.Copyright = QStringLiteral("Copyright line");
    application.VersionText = QStringLiteral("1.4.0 Build 26");
    ShowSplash(application, bitmap.get(), White);
    TSplashForm *form = SplashForm();
    QVERIFY(form);
    QVERIFY(form->isVisible());
    QCOMPARE(form->size(), QSize(500, 400));
    QVERIFY(form->windowFlags() & Qt::WindowStaysOnTopHint);
    auto *image = form->findChild<QLabel *>("ImgSplash");
    QCOMPARE(image->pixmap().size(), QSize(500, 400));
    auto *copyright = form->findChild<QLabel *>("lblCopyright");
    QCOMPARE(copyright->text(), QStringLiteral("Copyright line"));
    QCOMPARE(copyright->geometry(), QRect(16, 280, 457, 11));
    QCOMPARE(copyright->palette().color(QPalette::WindowText), QColor(Qt::white));
    auto *version = form->findChild<QLabel *>("lblApplicationVersion");
    QVERIFY(version->text().endsWith(QStringLiteral(" 1.4.0 Build 26")));
    QCOMPARE(version->geometry(), QRect(16, 328, 225, 13));
    QCOMPARE(form->findChild<QLabel *>("lblWarning")->geometry(), QRect(16, 296, 457, 11));
    QCOMPARE(form->findChild<QLabel *>("lblSpecialVersion")->geometry(), QRect(64, 104, 89, 13));

    HideSplash();
    QVERIFY(!SplashForm());

    // Without a picture the window still stands, plain.
    ShowSplash(application, nullptr, White);
    QVERIFY(SplashForm()->findChild<QLabel *>("ImgSplash")->pixmap().isNull());
    HideSplash();
}

void TestStartUp::splashIsGoneWhenStartUpReturns()
{
    StartUp(std::chrono::milliseconds(50));
    QVERIFY(!SplashForm());
    for (QWidget *window : QApplication::topLevelWidgets())
        QVERIFY(!window->isVisible());
}

QTEST_MAIN(TestStartUp)
#include "tst_startup.moc"
