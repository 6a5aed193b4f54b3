#include "uRes.h"

#include "ClipboardHolder.h"
#include "CVApp.h"
#include "CVRegUtils.h"
#include "CVSplashFrm2.h"
#include "CVStoreNotices.h"
#include "CVVerInf.h"
#include "frmHolder.h"
#include "frmMain.h"
#include "RegistryStore.h"
#include "SessionEnd.h"
#include "TerminationSignals.h"
#include "uOptions.h"

#include <QApplication>
#include <QFileInfo>
#include <QThread>

using namespace registry;

using namespace colour;

namespace {
std::unique_ptr<QPixmap> SplashBitmap;
const QString FamilyKey = QStringLiteral("Software\\Corvane\\Corvane Devbench");

void FillIdentity(TCVApplication &application)
{
    application.SetExeName(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath());
    application.RegRoot = StoreHive;
    application.RegFamilyKey = FamilyKey;
    application.RegAppKey = StoreAppKey();
    application.ShortName = QStringLiteral("Tintwell");
    application.FamilyName = QStringLiteral("Corvane Devbench");
    application.SuiteName.clear();
    application.LongName = QStringLiteral("Corvane Tintwell");
    application.VersionText = GetVersionText(application.ExeName);
    application.EnglishUI = IsEnglishBuild(application.ExeName);
    application.AppIcon = QIcon(QStringLiteral(":/icons/tintwell.svg"));
    application.Copyright = GetLegalCopyright(application.ExeName);
    application.OtherCopyrights = QStringLiteral("Built with the Qt toolkit, Copyright \u00A9 The Qt Company Ltd.\r"
                                                 "Stored state kept with SQLite, in the public domain.");
    application.FontName = QStringLiteral("Tahoma");
    application.WebAddresses->WebSite = QStringLiteral("https://www.corvane.example/tintwell");
    application.WebAddresses->EMail = QStringLiteral("support@corvane.example");
    application.AccentColour = MakeColour(58, 110, 165);
}

// Both in one write: each write of the store ends with its own flush to the disk, which start-up need not
// wait for twice.
void WriteStartRecords(const TCVApplication &application)
{
    RegistryBatch records;
    records.setValue(application.RegAppKey, QStringLiteral("Location"), RegistryValue::fromString(application.ExePath));
    records.setValue(application.RegAppKey, QStringLiteral("Version"),
                     RegistryValue::fromString(application.VersionText));
    RegWriteBatch(application.RegRoot, records);
}
} // namespace

QString StoreAppKey()
{
    return FamilyKey + QStringLiteral("\\Tintwell");
}

void StartUp(std::chrono::milliseconds splashWait)
{
    Application = new TCVApplication;
    FillIdentity(*Application);
    QApplication::setWindowIcon(Application->AppIcon);
    KeepDamagedStoreAside(Application->RegRoot);
    WriteStartRecords(*Application);

    SplashBitmap = LoadSplashPicture();
    ShowSplash(*Application, SplashBitmap.get(), White);
    TintOptions = new TTintOptions(Application->RegRoot, Application->RegAppKey);
    TintOptions->Load();
    QThread::msleep(static_cast<unsigned long>(splashWait.count()));
    HideSplash();
}

void StartUpQuietly()
{
    Application = new TCVApplication;
    FillIdentity(*Application);
    TintOptions = new TTintOptions(Application->RegRoot, Application->RegAppKey);
    TintOptions->Load();
}

void ShutDown()
{
    if (TintOptions) TintOptions->Save();
    ReleaseStartUp();
}

void ReleaseStartUp()
{
    delete TintOptions;
    TintOptions = nullptr;
    SplashBitmap.reset();
    delete Application;
    Application = nullptr;
}

int RunTintwell(std::chrono::milliseconds splashWait)
{
    // Held until the last save: a signal before the window or during its end must not cut the program short.
    TerminationSignals termination;
    StartUp(splashWait);
    int result = 0;
    {
        TTintMain TintMain;
        TSessionEnd sessionEnd(TintMain, termination);
        TintMain.show();
        ShowStoreWarningsWhenShown(TintMain);
        result = QApplication::exec();
    }
    // What the program put on the clipboard outlives it, as on a desktop with a clipboard manager.
    keepClipboardAfterExit();
    // The preferences are saved here on every way out of the event loop, a fatal error's included.
    ShutDown();
    termination.finished(result);
    return result;
}
