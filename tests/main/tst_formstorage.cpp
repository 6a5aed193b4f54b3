// The form-state store on a small window with its own temporary registry: what it restores, what it
// writes, and how it meets values of the wrong kind and a registry that refuses the save.
#include "ColourSwatch.h"
#include "CVExceptions.h"
#include "CVMsgDetailsFrm.h"
#include "DockToolBar.h"
#include "FormStorage.h"
#include "Registry.h"
#include "RegistryTesting.h"
#include "WindowTesting.h"

#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QScopeGuard>
#include <QScreen>
#include <QStatusBar>
#include <QTest>

#include <memory>

using namespace registry;

using namespace colour;

namespace {
const QString StoreKey = QStringLiteral("Software\\Tintwell Tests");
const QString StorePath = StoreKey + QStringLiteral("\\Storage");

struct StoredValue
{
    QString name;
    RegistryValue value;
};
using StoredValues = QList<StoredValue>;

StoredValue Text(const QString &name, const QString &text)
{
    return {name, RegistryValue::fromString(text)};
}

void Store(const StoredValues &values)
{
    TRegistry registry;
    QVERIFY(registry.openKey(StorePath, true));
    for (const StoredValue &stored : values)
        registry.writeValue(stored.name, stored.value);
}

// The stored text, "(missing)", or "(type N)" for a value that is not a REG_SZ.
QString Stored(const QString &name)
{
    TRegistry registry(RegistryAccess::ReadOnly);
    const std::optional<RegistryValue> value =
        registry.openKey(StorePath, false) ? registry.readValue(name) : std::nullopt;
    if (!value) return QStringLiteral("(missing)");
    if (value->type != REG_SZ) return QStringLiteral("(type %1)").arg(value->type);
    return decodeRegString(value->data);
}

int ScreenPixelsPerInch()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return qRound(screen->logicalDotsPerInch() * screen->devicePixelRatio());
}

QString ScreenSuffix()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize pixels = screen->geometry().size() * screen->devicePixelRatio();
    return QStringLiteral("(%1x%2)").arg(pixels.width()).arg(pixels.height());
}

template <typename Control> Control *Named(Control *control, const char *name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

// Two toolbars in two rows of the top dock, a status bar and a swatch, 300 x 200 at 60, 61 as designed.
class TestWindow : public QMainWindow
{
public:
    explicit TestWindow(bool fixedSize = true)
    {
        setObjectName(QStringLiteral("frmTest"));
        for (DockToolBar *bar : {tbMenu, tbMain}) {
            bar->addAction(bar->objectName());
            addToolBar(Qt::TopToolBarArea, bar);
        }
        insertToolBarBreak(tbMain);
        setStatusBar(sbMain);
        setCentralWidget(pSwatch);
        if (fixedSize)
            setFixedSize(300, 200);
        else
            resize(300, 200);
        move(60, 61);
        Storage = new TFormStorage(this, HKEY_CURRENT_USER, StoreKey, QStringLiteral("Storage"));
        Storage->SetStoredProps({"sbMain.Visible", "tbMain.CurrentDock", "tbMain.DockPos", "tbMain.DockRow",
                                 "tbMenu.CurrentDock", "tbMenu.DockPos", "tbMenu.DockRow", "pSwatch.Color"});
    }
    ~TestWindow() override { Storage->WindowDestroying(); }

    void ShowAndWait()
    {
        show();
        QVERIFY(QTest::qWaitForWindowExposed(this));
    }

    DockToolBar *tbMenu = Named(new DockToolBar(QStringLiteral("Menu"), this), "tbMenu");
    DockToolBar *tbMain = Named(new DockToolBar(QStringLiteral("Main"), this), "tbMain");
    QStatusBar *sbMain = Named(new QStatusBar(this), "sbMain");
    ColourSwatch *pSwatch = Named(new ColourSwatch(this), "pSwatch");
    TFormStorage *Storage;

protected:
    void showEvent(QShowEvent *event) override
    {
        QMainWindow::showEvent(event);
        Storage->WindowShown();
    }
    void closeEvent(QCloseEvent *) override { Storage->WindowCloseRequested(); }
};

} // namespace

Q_DECLARE_METATYPE(StoredValues)

class TestFormStorage : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_registry = std::make_unique<TempRegistry>(); }
    void cleanup() { m_registry.reset(); }

    void restoresThePlace_data()
    {
        QTest::addColumn<bool>("fixedSize");
        QTest::addColumn<StoredValues>("values");
        QTest::addColumn<QRect>("frame"); // an empty one: the window keeps its own size

        const QString ppi = QString::number(ScreenPixelsPerInch());
        const QString otherPpi = QString::number(ScreenPixelsPerInch() + 24);
        QTest::newRow("fixed border: the place only, even with right < left")
            << true << StoredValues{Text("NormPos", "100,200,10,10"), Text("PixelsPerInch", ppi)}
            << QRect(100, 200, 0, 0);
        QTest::newRow("resizable: place and size")
            << false << StoredValues{Text("NormPos", "100 200,500 , 450")} << QRect(100, 200, 400, 250);
        QTest::newRow("other pixels per inch keeps the designed place")
            << true << StoredValues{Text("NormPos", "100,200,400,400"), Text("PixelsPerInch", otherPpi)}
            << QRect(60, 61, 0, 0);
        QTest::newRow("this screen's suffix comes first")
            << true
            << StoredValues{Text("NormPos" + ScreenSuffix(), "120,130,420,330"), Text("NormPos", "100,200,400,400")}
            << QRect(120, 130, 0, 0);
        QTest::newRow("another screen's suffix falls back to the plain name")
            << true << StoredValues{Text("NormPos(1x1)", "120,130,420,330"), Text("NormPos", "100,200,400,400")}
            << QRect(100, 200, 0, 0);
        QTest::newRow("bad words keep the present edges")
            << false << StoredValues{Text("NormPos", "100,top,500,450")} << QRect(100, 61, 400, 389);
        QTest::newRow("off every screen keeps the designed place")
            << true << StoredValues{Text("NormPos", "5000,5000,5300,5200")} << QRect(60, 61, 0, 0);
        QTest::newRow("edges past any screen keep the designed place")
            << true << StoredValues{Text("NormPos", "-2147483648,0,2147483647,100")} << QRect(60, 61, 0, 0);
        QTest::newRow("a title bar out of reach keeps the designed place")
            << true << StoredValues{Text("NormPos", "-290,-100,10,101")} << QRect(60, 61, 0, 0);
        QTest::newRow("a REG_DWORD counts as missing")
            << true
            << StoredValues{{"NormPos", RegistryValue::fromDword(100)}, {"PixelsPerInch", RegistryValue::fromDword(1)}}
            << QRect(60, 61, 0, 0);
    }

    void restoresThePlace()
    {
        QFETCH(bool, fixedSize);
        QFETCH(StoredValues, values);
        QFETCH(QRect, frame);
        Store(values + StoredValues{Text("pSwatch_Color", "255")});

        TestWindow window(fixedSize);
        window.ShowAndWait();
        QCOMPARE(window.pos(), frame.topLeft());
        if (frame.isEmpty())
            QCOMPARE(window.size(), QSize(300, 200));
        else
            QCOMPARE(window.frameGeometry().size(), frame.size());
        QCOMPARE(window.pSwatch->colour(), Colour(255)); // the properties come back wherever the window stays
    }

    void restoresProperties_data()
    {
        QTest::addColumn<StoredValues>("values");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("expected");

        const QVariant white = int(White);
        QTest::newRow("integer") << StoredValues{Text("pSwatch_Color", " 4210752 ")} << "pSwatch" << QByteArray("Color")
                                 << QVariant(4210752);
        QTest::newRow("integer abc keeps the default")
            << StoredValues{Text("pSwatch_Color", "abc")} << "pSwatch" << QByteArray("Color") << white;
        QTest::newRow("missing integer") << StoredValues{} << "pSwatch" << QByteArray("Color") << white;
        QTest::newRow("integer stored as REG_DWORD") << StoredValues{{"pSwatch_Color", RegistryValue::fromDword(5)}}
                                                     << "pSwatch" << QByteArray("Color") << white;
        QTest::newRow("boolean false, any case")
            << StoredValues{Text("sbMain_Visible", "fALSE")} << "sbMain" << QByteArray("visible") << QVariant(false);
        QTest::newRow("boolean no is no boolean")
            << StoredValues{Text("sbMain_Visible", "no")} << "sbMain" << QByteArray("visible") << QVariant(true);
    }

    void restoresProperties()
    {
        QFETCH(StoredValues, values);
        QFETCH(QString, control);
        QFETCH(QByteArray, property);
        QFETCH(QVariant, expected);
        Store(values);

        TestWindow window;
        window.ShowAndWait();
        QCOMPARE(window.findChild<QObject *>(control)->property(property), expected);
    }

    void restoresDocks_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("floating");
        QTest::addColumn<int>("area");

        QTest::newRow("another dock") << "DockBottom" << false << int(Qt::BottomToolBarArea);
        QTest::newRow("the window by its name") << "FRMTEST.DockBottom" << false << int(Qt::BottomToolBarArea);
        QTest::newRow("a window that is not there") << "frmNowhere.DockBottom" << false << int(Qt::TopToolBarArea);
        QTest::newRow("empty") << "" << false << int(Qt::TopToolBarArea);
        QTest::newRow("a name of no dock") << "DockSomewhere" << false << int(Qt::TopToolBarArea);
        QTest::newRow("(null)") << "(NULL)" << false << int(Qt::TopToolBarArea);
    }

    void restoresDocks()
    {
        QFETCH(QString, stored);
        QFETCH(bool, floating);
        QFETCH(int, area);
        Store({Text("tbMain_CurrentDock", stored)});

        TestWindow window;
        window.ShowAndWait();
        QCOMPARE(window.tbMain->isFloating(), floating);
        QCOMPARE(int(window.toolBarArea(window.tbMain)), area);
    }

    void dropsEntriesNamingNoControl()
    {
        TestWindow window;
        window.Storage->SetStoredProps({" sbMain . Visible ", "SBMAIN.visible", "lblNowhere.Caption", ".Visible",
                                        "sbMain.", "sbMain", "pSwatch.Color.Extra"});
        QCOMPARE(window.Storage->StoredProps(),
                 QStringList({"sbMain.Visible", "sbMain.visible", "pSwatch.Color.Extra"}));
    }

    void savesEveryValueAsText()
    {
        QRect frame;
        {
            TestWindow window;
            window.ShowAndWait();
            window.sbMain->hide();
            window.pSwatch->setColour(0x00804020);
            frame = window.frameGeometry();
            window.close();
        }
        // Right and bottom lie just outside the frame.
        const QString normPos = QStringLiteral("60,61,%1,%2").arg(60 + frame.width()).arg(61 + frame.height());
        const QList<std::pair<QString, QString>> expected = {
            {"FormVersion", "0"},
            {"Flags", "0"},
            {"ShowCmd", "1"},
            {"PixelsPerInch", QString::number(ScreenPixelsPerInch())},
            {"MinMaxPos" + ScreenSuffix(), "-1,-1,-1,-1"},
            {"MinMaxPos", "-1,-1,-1,-1"},
            {"NormPos" + ScreenSuffix(), normPos},
            {"NormPos", normPos},
            {"Visible", "0"},
            {"sbMain_Visible", "False"},
            {"tbMain_CurrentDock", "DockTop"},
            {"tbMain_DockPos", "0"},
            {"tbMain_DockRow", "1"},
            {"tbMenu_DockRow", "0"},
            {"pSwatch_Color", "8405024"},
        };
        for (const auto &[name, text] : expected)
            QCOMPARE(Stored(name), text);
    }

    void toolbarPlacesComeBackRunAfterRun()
    {
        {
            TestWindow window;
            window.ShowAndWait();
            window.tbMain->setCurrentDock({&window, Qt::BottomToolBarArea});
            window.close();
        }
        {
            TestWindow window;
            window.ShowAndWait();
            QCOMPARE(window.toolBarArea(window.tbMain), Qt::BottomToolBarArea);
            // Back to the top, into the menu's row behind it.
            window.tbMain->setCurrentDock({&window, Qt::TopToolBarArea});
            window.tbMain->setDockPos(120);
            window.tbMain->setDockRow(0);
            window.close();
        }
        QCOMPARE(Stored("tbMain_DockRow"), QStringLiteral("0"));
        QCOMPARE(Stored("tbMain_DockPos"), QStringLiteral("120"));
        {
            TestWindow window;
            window.ShowAndWait();
            QCOMPARE(window.toolBarArea(window.tbMain), Qt::TopToolBarArea);
            QCOMPARE(window.tbMain->dockRow(), 0);
            QCOMPARE(window.tbMain->x(), 120);
            QCOMPARE(window.tbMenu->dockRow(), 0);
            // A floating toolbar leaves the dock it last sat in stored.
            FloatToolBar(window, *window.tbMain, QRect(300, 200, 120, 30));
            QVERIFY(window.tbMain->isFloating());
            window.close();
        }
        QCOMPARE(Stored("tbMain_CurrentDock"), QStringLiteral("DockTop"));
    }

    void formVersion_data()
    {
        QTest::addColumn<RegistryValue>("stored");
        QTest::addColumn<bool>("restores");

        QTest::newRow("below the store's version") << RegistryValue::fromString("-1") << false;
        QTest::newRow("the store's version") << RegistryValue::fromString("0") << true;
        QTest::newRow("not a number reads as 0") << RegistryValue::fromString("new") << true;
        QTest::newRow("a REG_DWORD counts as missing") << RegistryValue::fromDword(0xFFFFFFFF) << true;
    }

    void formVersion()
    {
        QFETCH(RegistryValue, stored);
        QFETCH(bool, restores);
        Store({{"FormVersion", stored}, Text("NormPos", "100,200,400,400"), Text("pSwatch_Color", "255")});

        int restoreEvents = 0;
        {
            TestWindow window;
            window.Storage->OnRestorePlacement = [&](TFormPlacement &) { ++restoreEvents; };
            window.ShowAndWait();
            QCOMPARE(window.pos(), restores ? QPoint(100, 200) : QPoint(60, 61));
            QCOMPARE(window.pSwatch->colour(), restores ? Colour(255) : White);
            QCOMPARE(restoreEvents, restores ? 1 : 0);
            window.close();
        }
        // An older layout is written afresh; a current one keeps what this run did not change.
        if (!restores) QCOMPARE(Stored("FormVersion"), QStringLiteral("0"));
        QVERIFY(Stored("NormPos").startsWith(restores ? QStringLiteral("100,200,") : QStringLiteral("60,61,")));
    }

    void eventsReadAndWriteWhileTheKeyIsOpen()
    {
        {
            TestWindow window;
            window.Storage->OnSavePlacement = [](TFormPlacement &store) { store.WriteInteger("FormStyle", -3); };
            window.ShowAndWait();
            window.close();
        }
        QCOMPARE(Stored("FormStyle"), QStringLiteral("-3"));
        Store({Text("Flavour", "mint")});
        TestWindow window;
        std::optional<std::pair<int, int>> read;
        window.Storage->OnRestorePlacement = [&](TFormPlacement &store) {
            read = {store.ReadInteger("FormStyle", 0), store.ReadInteger("Flavour", 7)};
        };
        window.ShowAndWait();
        QCOMPARE(read, std::make_optional(std::pair(-3, 7)));
    }

    void aWindowNeverShownWritesNothing()
    {
        {
            TestWindow window;
        }
        TRegistry registry(RegistryAccess::ReadOnly);
        QVERIFY(!registry.keyExists(StorePath));
    }

    void savesAgainAtDestructionOnlyWhenNotSaved()
    {
        for (const bool close : {true, false}) {
            {
                TestWindow window;
                window.ShowAndWait();
                if (close) window.close();
                window.pSwatch->setColour(0x123456);
            }
            QCOMPARE(Stored("Visible"), close ? QStringLiteral("0") : QStringLiteral("1"));
            QCOMPARE(Stored("pSwatch_Color"), QString::number(close ? int(White) : 0x123456));
        }
    }

    // A hive file that is no database can be neither read nor written: the window opens on its defaults, and
    // the refused saves of a change at the close and at the destruction cost one warning, none in a later window
    // of the same run. The file stays as it was.
    void aRefusedSaveWarnsOncePerRun_data()
    {
        QTest::addColumn<bool>("closeFirst");
        QTest::newRow("closing, then destroyed") << true;
        QTest::newRow("destroyed without closing") << false;
    }

    void aRefusedSaveWarnsOncePerRun()
    {
        QFETCH(bool, closeFirst);
        const QString hive = hiveFilePath(HKEY_CURRENT_USER);
        const QByteArray garbage(5000, '\x5A');
        QFile file(hive);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(garbage) == garbage.size());
        file.close();

        QStringList warnings;
        const DetailsDialogObserver previous = SetDetailsDialogObserver([&](TCVMessageDetails *dialog) {
            warnings.append(dialog->findChild<QLabel *>(QStringLiteral("lblErrorMsg"))->text());
            dialog->accept();
        });
        const auto restore = qScopeGuard([&] { SetDetailsDialogObserver(previous); });
        const QString message = QStringLiteral("The settings file %1 is damaged; nothing is saved to it.").arg(hive);
        for (int run = 0; run < 2; ++run) {
            TestWindow window;
            window.ShowAndWait();
            QCOMPARE(window.pSwatch->colour(), White);
            window.pSwatch->setColour(0x123456);
            if (closeFirst && run == 0) {
                try {
                    window.Storage->WindowCloseRequested();
                    QFAIL("the refused save went unreported");
                } catch (const ECVException &error) {
                    QCOMPARE(error.Kind, TCVMessageKind::Warning);
                    QCOMPARE(error.ErrorMessage, message);
                    QVERIFY(error.Details.contains(QLatin1String("file is not a database")));
                }
            }
        }
        // The error handler shows the warning of the close request; the store shows only one of its own.
        QCOMPARE(warnings, closeFirst ? QStringList() : QStringList{message});
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), garbage);
    }

private:
    std::unique_ptr<TempRegistry> m_registry;
};

QTEST_MAIN(TestFormStorage)
#include "tst_formstorage.moc"
