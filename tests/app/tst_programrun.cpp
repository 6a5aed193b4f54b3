// The program's whole run in this process (start-up, the main window and its event loop, shutdown) over
// its own store, ended as a user ends it: an error that ends the program while its window is first shown
// ends the run, after which the shutdown's save still happens; a full disk costs one warning per run and
// no value the store held.
#include "CVExceptions.h"
#include "CVMsgDetailsFrm.h"
#include "CVRegUtils.h"
#include "frmMain.h"
#include "Registry.h"
#include "RegistryTesting.h"
#include "SessionEnd.h"
#include "TintApplication.h"
#include "uOptions.h"
#include "uRes.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

using namespace registry;

namespace {
const QString AppKey = QStringLiteral("Software\\Corvane\\Corvane Devbench\\Tintwell");
const QString DiskFull = QStringLiteral("The disk that holds the settings is full; they were not saved.");

TTintMain *MainWindow()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *main = qobject_cast<TTintMain *>(window)) return main;
    return nullptr;
}

struct Dialogs
{
    QStringList messages;
    QStringList details;
};

// Runs the program without its splash wait. Once its window is on screen, act gets it; every dialog is
// noted and answered with OK. A guard ends a run that nothing else would end.
int Run(Dialogs &seen, const std::function<void(TTintMain &)> &act)
{
    const DetailsDialogObserver previous = SetDetailsDialogObserver([&seen](TCVMessageDetails *dialog) {
        seen.messages.append(dialog->findChild<QLabel *>(QStringLiteral("lblErrorMsg"))->text());
        seen.details.append(dialog->findChild<QPlainTextEdit *>(QStringLiteral("txtErrorDetails"))->toPlainText());
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    const auto restore = qScopeGuard([&] { SetDetailsDialogObserver(previous); });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(2); });
    guard.start(30000);
    QTimer onScreen;
    QObject::connect(&onScreen, &QTimer::timeout, [&] {
        TTintMain *window = MainWindow();
        if (!window || !window->windowHandle() || !window->windowHandle()->isExposed()) return;
        onScreen.stop();
        act(*window);
    });
    onScreen.start(10);
    return RunTintwell(std::chrono::milliseconds(0));
}

QString StoredColour()
{
    TRegistry registry(RegistryAccess::ReadOnly);
    registry.setRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.openKey(AppKey + QStringLiteral("\\Storage"), false)) return QStringLiteral("(no key)");
    return registry.readString(QStringLiteral("pCurrentColor_Color"));
}
} // namespace

class TestProgramRun : public QObject
{
    Q_OBJECT

private slots:
    void aCriticalErrorWhileTheWindowIsFirstShownEndsTheRun();
    void aFullDiskCostsOneWarningAndNoStoredValue();
    void theSessionsRequestToSaveKeepsEverythingAtOnce();
};

void TestProgramRun::aCriticalErrorWhileTheWindowIsFirstShownEndsTheRun()
{
    const TempRegistry registry;
    // The window's stores read the store while it is first shown: there the error is raised.
    const RegistryStoreOpener normal =
        setRegistryStoreOpener([](HKEY hive, RegistryAccess access) -> std::unique_ptr<RegistryStore> {
            if (access == RegistryAccess::ReadOnly && MainWindow())
                throw ECVException(QStringLiteral("The store is gone."), {}, TCVMessageKind::Error);
            return std::make_unique<RegistryStore>(hiveFilePath(hive), access);
        });
    const auto restore = qScopeGuard([&] { setRegistryStoreOpener(normal); });
    Dialogs seen;
    QCOMPARE(Run(seen, [](TTintMain &window) { window.close(); }), 1);
    QCOMPARE(seen.messages, QStringList{QStringLiteral("The store is gone.")});
    setRegistryStoreOpener(normal);
    QCOMPARE(RegReadInteger(HKEY_LOCAL_MACHINE, AppKey + QStringLiteral("\\Options"), "CaptureDelay", -1), 500);
}

void TestProgramRun::aFullDiskCostsOneWarningAndNoStoredValue()
{
    SmallDisk disk;
    if (!disk.isMounted()) QSKIP("only root can mount the small disk");
    const auto useFolder = [&](const char *name) {
        const QString folder = disk.path() + u'/' + QLatin1String(name);
        qputenv("TINTWELL_REGISTRY_DIR", folder.toLocal8Bit());
        return folder;
    };
    const auto unsetFolder = qScopeGuard([] { qunsetenv("TINTWELL_REGISTRY_DIR"); });

    // The first start on a nearly full disk makes no hive at all, not even half of one.
    const QString first = useFolder("first");
    disk.fill(16 * 1024);
    Dialogs firstRun;
    QCOMPARE(Run(firstRun, [](TTintMain &window) { window.close(); }), 0);
    QCOMPARE(firstRun.messages, QStringList{DiskFull});
    QVERIFY2(firstRun.details.first().contains(first), qPrintable(firstRun.details.first()));
    QCOMPARE(QDir(first).entryList(QDir::Files | QDir::Hidden), QStringList());
    disk.clear();

    // A save that does not fit leaves the colour of the run before, readable with the disk still full.
    const QString second = useFolder("second");
    Dialogs secondRun, thirdRun;
    QCOMPARE(Run(secondRun,
                 [](TTintMain &window) {
                     window.SetColour(0x123456);
                     window.close();
                 }),
             0);
    QCOMPARE(secondRun.messages, QStringList());
    QCOMPARE(Run(thirdRun,
                 [&](TTintMain &window) {
                     disk.fill();
                     window.SetColour(0x654321);
                     window.close();
                 }),
             0);
    QCOMPARE(thirdRun.messages, QStringList{DiskFull});
    QVERIFY2(thirdRun.details.first().contains(second), qPrintable(thirdRun.details.first()));
    QCOMPARE(StoredColour(), QString::number(0x123456));
    disk.clear();
    QCOMPARE(StoredColour(), QString::number(0x123456));
}

// What the session manager's request before a logout runs: the colour and the preferences of the run are in
// the store at once, while the window stays open.
void TestProgramRun::theSessionsRequestToSaveKeepsEverythingAtOnce()
{
    const TempRegistry registry;
    Dialogs seen;
    bool saved = false;
    QCOMPARE(Run(seen,
                 [&](TTintMain &window) {
                     window.SetColour(0x224466);
                     TintOptions->ThumbnailWidth = 77;
                     SaveEverything(window);
                     saved = StoredColour() == QString::number(0x224466) &&
                             RegReadInteger(HKEY_LOCAL_MACHINE, AppKey + QStringLiteral("\\Options"), "ThumbnailWidth",
                                            -1) == 77 &&
                             window.isVisible();
                     window.close();
                 }),
             0);
    QVERIFY(saved);
    QCOMPARE(seen.messages, QStringList());
}

int main(int argc, char *argv[])
{
    TTintApplication app(argc, argv);
    TestProgramRun test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_programrun.moc"
