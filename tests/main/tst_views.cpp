// The view commands, the hints, and whole runs of the real window (create, show, change, close, destroy;
// create again) against a temporary registry: what each run leaves stored and what the next one shows.
#include "ColourDialogDriver.h"
#include "ColourSwatch.h"
#include "CVApp.h"
#include "DockToolBar.h"
#include "frmMain.h"
#include "PaletteImportDialog.h"
#include "Registry.h"
#include "RegistryTesting.h"
#include "uOptions.h"
#include "WindowTesting.h"

#include <QAction>
#include <QApplication>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>

#include <algorithm>
#include <memory>

using namespace registry;

using namespace colour;

namespace {
// Dialog buttons with the style's icons, as Qt's theme on an X11 desktop has them (the offscreen one has none).
class DesktopStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

const QString AppKey = QStringLiteral("Software\\Corvane\\Tests\\Tintwell");
const QString StoreKey = AppKey + QStringLiteral("\\Storage");
const QString CustomKey = StoreKey + QStringLiteral("\\CustomColors");
} // namespace

class TestViews : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void hidingBarsKeepsTheWindowSize();
    void hintShowsAndEmpties();
    void alwaysOnTopToggles();
    void contrastBarComesBackWithItsBackground();

    void coloursComeBackWithSaveWindowOff();
    void barsPlaceAndStyleComeBackWithSaveWindowOn();
    void defaultBarsComeBackRunAfterRun();
    void eachBarGoesToEachPlaceAndBack();
    void otherPixelDensityKeepsTheDesignedPlace();
    void storedSlotText_data();
    void storedSlotText();
    void storedStatusBarText_data();
    void storedStatusBarText();
    void senselessLayoutGivesTheDefault_data();
    void senselessLayoutGivesTheDefault();
    void unknownFormStyleEndsUpNormal();
    void olderFormVersionSkipsBothRestores();
    void badCustomColourLineLeavesTheDialogWorking();
    void palettePreviewSaysWhatComesAndWhatStays();

private:
    template <typename T> T *child(const char *name) { return Child<T>(*window, name); }
    QAction *command(const char *name) { return child<QAction>(name); }
    bool onTop() const { return window->windowFlags() & Qt::WindowStaysOnTopHint; }
    // Where the two bars sit, as "tbMenu DockTop 0, tbMain DockTop 1".
    QString barPlaces();
    bool everyToolbarButtonShows();
    void start();
    void startAndTick();
    void exitRun();
    static void store(const QString &name, const QString &text);
    static QString stored(const QString &name);
    static QStringList storedCustomLines();

    QTemporaryDir qtConfig;
    std::unique_ptr<TempRegistry> registry;
    std::unique_ptr<TTintMain> window;
    // Whether the window was on top at each of its show events, in order.
    QList<bool> onTopAtShow;
};

void TestViews::initTestCase()
{
    QApplication::setStyle(new DesktopStyle);
    qputenv("XDG_CONFIG_HOME", qtConfig.path().toLocal8Bit());
    Application = new TCVApplication;
    Application->RegAppKey = AppKey;
    Application->LongName = QStringLiteral("Corvane Tintwell");
    TintOptions = new TTintOptions(HKEY_LOCAL_MACHINE, AppKey);
}

void TestViews::init()
{
    registry = std::make_unique<TempRegistry>();
    TintOptions->SaveWindow = true;
}

void TestViews::cleanup()
{
    window.reset();
    registry.reset();
}

void TestViews::start()
{
    window = std::make_unique<TTintMain>();
    onTopAtShow.clear();
    EventSpy::Watch(window.get(), QEvent::Show, [this] { onTopAtShow.append(onTop()); });
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

void TestViews::startAndTick()
{
    start();
    QTRY_VERIFY(!child<QTimer>("tSetFormStyle")->isActive());
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestViews::exitRun()
{
    window->activateWindow();
    command("actFileExit")->trigger();
    QVERIFY(!window->isVisible());
    window.reset();
}

void TestViews::store(const QString &name, const QString &text)
{
    TRegistry writer;
    writer.setRootKey(HKEY_LOCAL_MACHINE);
    QVERIFY(writer.openKey(StoreKey, true));
    writer.writeString(name, text);
}

QString TestViews::stored(const QString &name)
{
    TRegistry reader(RegistryAccess::ReadOnly);
    reader.setRootKey(HKEY_LOCAL_MACHINE);
    if (!reader.openKey(StoreKey, false) || !reader.valueExists(name)) return QStringLiteral("<missing>");
    return reader.readString(name);
}

QStringList TestViews::storedCustomLines()
{
    TRegistry reader(RegistryAccess::ReadOnly);
    reader.setRootKey(HKEY_LOCAL_MACHINE);
    if (!reader.openKey(CustomKey, false)) return {QStringLiteral("<no key>")};
    QStringList lines = reader.valueNames();
    for (const QString &line : std::as_const(lines))
        if (!reader.readString(line).isEmpty()) return {QStringLiteral("<data in %1>").arg(line)};
    lines.sort();
    return lines;
}

QString TestViews::barPlaces()
{
    QStringList places;
    for (const char *name : {"tbMenu", "tbMain"}) {
        auto *bar = child<DockToolBar>(name);
        places << QStringLiteral("%1 %2 %3").arg(name, DockName(bar->currentDock().area)).arg(bar->dockRow());
    }
    return places.join(QStringLiteral(", "));
}

// No button is behind the toolbar's overflow arrow.
bool TestViews::everyToolbarButtonShows()
{
    auto *tbMain = child<QToolBar>("tbMain");
    for (QAction *action : tbMain->actions())
        if (!action->isSeparator() && !tbMain->widgetForAction(action)->isVisible()) return false;
    return true;
}

void TestViews::hidingBarsKeepsTheWindowSize()
{
    start();
    const QSize size = window->size();
    command("actViewToolbar")->trigger();
    command("actViewStatusBar")->trigger();
    QVERIFY(child<QToolBar>("tbMain")->isHidden());
    QVERIFY(child<QStatusBar>("sbMain")->isHidden());
    QCOMPARE(window->size(), size);
    QVERIFY(RunUntilIdle());
    QVERIFY(!command("actViewToolbar")->isChecked());
    QVERIFY(!command("actViewStatusBar")->isChecked());

    command("actViewToolbar")->trigger();
    QVERIFY(!child<QToolBar>("tbMain")->isHidden());
    QCOMPARE(window->size(), size);
}

void TestViews::hintShowsAndEmpties()
{
    start();
    auto *tbMain = child<QToolBar>("tbMain");
    auto *button = qobject_cast<QToolButton *>(tbMain->widgetForAction(command("actEditColorDialog")));
    auto *hint = child<QLabel>("lblHint");
    QTest::mouseMove(button);
    QTRY_COMPARE(hint->text(), QStringLiteral("Open the color dialog"));
    QTest::mouseMove(child<QWidget>("txtRGB"));
    QTRY_COMPARE(hint->text(), QString());

    // Every hint shows whole on one line, a long one in a smaller type, never below seven tenths of the bar's.
    const qreal type = hint->font().pointSizeF();
    QStringList hints;
    for (const QAction *action : window->findChildren<QAction *>())
        hints.append(action->statusTip());
    for (const QWidget *widget : window->findChildren<QWidget *>())
        hints.append(widget->statusTip());
    hints.removeAll(QString());
    QVERIFY(hints.size() > 15);
    for (const QString &text : std::as_const(hints)) {
        QStatusTipEvent tip(text);
        QApplication::sendEvent(window.get(), &tip);
        QCOMPARE(hint->text(), text);
        QVERIFY2(QFontMetricsF(hint->font()).horizontalAdvance(text) <= hint->contentsRect().width(), qPrintable(text));
        QVERIFY2(!hint->wordWrap() && hint->font().pointSizeF() >= type * 0.7, qPrintable(text));
    }
}

void TestViews::alwaysOnTopToggles()
{
    startAndTick();
    const QPoint place = window->pos();
    command("actViewAlwaysOnTop")->trigger();
    QVERIFY(onTop());
    QVERIFY(window->isVisible());
    QCOMPARE(window->pos(), place);
    QVERIFY(RunUntilIdle());
    QVERIFY(command("actViewAlwaysOnTop")->isChecked());
    // In the View menu its check mark looks like that of the checked Toolbar entry.
    auto *menuView = command("actView")->menu();
    menuView->popup(window->mapToGlobal(QPoint(0, 0)));
    QVERIFY(QTest::qWaitForWindowExposed(menuView));
    const QImage menu = menuView->grab().toImage();
    const auto checkBox = [&](const char *name) {
        const QRect item = menuView->actionGeometry(command(name));
        // The square at the entry's start, within the menu's border.
        return menu.copy(QRect(item.topLeft(), QSize(item.height(), item.height())).adjusted(2, 2, -2, -2));
    };
    QCOMPARE(checkBox("actViewAlwaysOnTop"), checkBox("actViewToolbar"));
    menuView->close();
    command("actViewAlwaysOnTop")->trigger();
    QVERIFY(!onTop());
    QVERIFY(window->isVisible());
}

// The bar is opened from the View menu by its keys, takes a slot's colour as its background, makes the current
// colour pass, and comes back in the next run with that background, through a store written and read again.
void TestViews::contrastBarComesBackWithItsBackground()
{
    startAndTick();
    auto *bar = child<QWidget>("pContrast");
    auto *ratio = child<QLabel>("lblContrastRatio");
    QVERIFY(bar->isHidden());
    const int editorHeight = child<QWidget>("gbSettings")->height();
    QTest::keyClick(window.get(), Qt::Key_V, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_N);
    QVERIFY(!bar->isHidden());
    // The window grows by the bar: the editor below loses none of its height, the bar shows whole.
    QTRY_VERIFY(child<QWidget>("gbSettings")->height() >= editorHeight);
    QCOMPARE(bar->height(), bar->sizeHint().height());
    window->SetColour(MakeColour(0x00, 0x6F, 0xFB));
    QCOMPARE(ratio->text(), QStringLiteral("4.49:1")); // 4.4999 against white, never rounded up

    const auto slotCommand = [this](const char *name) {
        QTest::mouseClick(child<ColourSwatch>("pSlot5"), Qt::RightButton);
        auto *popSlot = child<QMenu>("popSlot");
        QTRY_VERIFY(popSlot->isVisible());
        QTest::mouseClick(popSlot, Qt::LeftButton, {}, popSlot->actionGeometry(command(name)).center());
    };
    const Colour brown = MakeColour(0x30, 0x20, 0x10);
    window->SetColour(brown);
    slotCommand("popSlotSave");
    window->SetColour(White);
    slotCommand("popSlotContrast");
    QCOMPARE(ratio->text(), QStringLiteral("15.67:1")); // white on #302010
    QTest::mouseClick(child<QPushButton>("btnSwap"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>("txtHTML")->text(), QStringLiteral("#302010"));
    QTest::mouseClick(child<QPushButton>("btnSwap"), Qt::LeftButton);
    QCOMPARE(window->currentColour(), White);
    window->SetColour(MakeColour(0x40, 0x30, 0x20));
    QTest::mouseClick(child<QPushButton>("btnNearestPassing"), Qt::LeftButton);
    QVERIFY(window->currentColour() != MakeColour(0x40, 0x30, 0x20));
    const QString passing = ratio->text();
    QVERIFY2(passing.chopped(2).toDouble() >= 4.5, qPrintable(passing));
    QVERIFY(!child<QPushButton>("btnNearestPassing")->isEnabled());
    exitRun();

    TintOptions->Save();
    TintOptions->ContrastBackground = 0;
    TintOptions->Load();
    QCOMPARE(TintOptions->ContrastBackground, qint32(brown));
    startAndTick();
    QVERIFY(!child<QWidget>("pContrast")->isHidden());
    QCOMPARE(child<QLabel>("lblContrastRatio")->text(), passing);
}

void TestViews::coloursComeBackWithSaveWindowOff()
{
    TintOptions->SaveWindow = false;
    startAndTick();
    window->SetColour(0x00336699);
    QTest::mouseClick(child<ColourSwatch>("pSlot3"), Qt::RightButton);
    auto *popSlot = child<QMenu>("popSlot");
    QTRY_VERIFY(popSlot->isVisible());
    QTest::mouseClick(popSlot, Qt::LeftButton, {}, popSlot->actionGeometry(command("popSlotSave")).center());
    bool plainButtons = false;
    QVERIFY(RunColourDialog(*window, [&](QColorDialog &dialog) {
        const QList<QPushButton *> buttons = dialog.findChildren<QPushButton *>();
        plainButtons = !buttons.isEmpty() &&
                       std::ranges::all_of(buttons, [](QPushButton *button) { return button->icon().isNull(); });
        QColorDialog::setCustomColor(4, QColor(1, 2, 3));
        dialog.setCurrentColor(QColor(0x99, 0x66, 0x33));
        dialog.accept();
    }));
    QVERIFY2(plainButtons, "the colour dialog's buttons carry icons, as no other dialog's do");
    const QStringList list = window->customColourList();
    window->move(window->pos() + QPoint(40, 30));
    command("actViewToolbar")->trigger();
    command("actViewAlwaysOnTop")->trigger();
    exitRun();

    for (const char *name : {"NormPos", "FormStyle", "sbMain_Visible", "tbMain_Visible", "tbMain_CurrentDock"})
        QCOMPARE(stored(QLatin1String(name)), QStringLiteral("<missing>"));
    QCOMPARE(stored("FormVersion"), QStringLiteral("0"));
    QCOMPARE(stored("pCurrentColor_Color"), QString::number(0x00336699));
    QCOMPARE(storedCustomLines().size(), 16);
    QVERIFY(storedCustomLines().contains(QStringLiteral("ColorE=030201")));

    startAndTick();
    QCOMPARE(window->currentColour(), Colour(0x00336699));
    QCOMPARE(child<QLineEdit>("txtHTML")->text(), QStringLiteral("#996633"));
    QCOMPARE(child<ColourSwatch>("pSlot3")->colour(), Colour(0x00336699));
    QCOMPARE(child<ColourSwatch>("pSlot4")->colour(), White);
    QStringList restored = window->customColourList();
    restored.sort();
    QStringList expected = list;
    expected.sort();
    QCOMPARE(restored, expected);
    QVERIFY(!child<QToolBar>("tbMain")->isHidden());
    QVERIFY(!onTop());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Centred on the window's own size: the window manager's frame is not known before the first show.
    const QPoint offCentre = window->frameGeometry().center() - screen.center();
    QVERIFY2(offCentre.manhattanLength() <= 6,
             qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
}

void TestViews::barsPlaceAndStyleComeBackWithSaveWindowOn()
{
    startAndTick();
    QCOMPARE(window->pos(), QPoint(60, 61));
    window->move(120, 90);
    window->addToolBar(Qt::BottomToolBarArea, child<QToolBar>("tbMain"));
    command("actViewStatusBar")->trigger();
    command("actViewAlwaysOnTop")->trigger();
    exitRun();
    QCOMPARE(stored("FormStyle"), QStringLiteral("3"));
    QCOMPARE(stored("tbMain_CurrentDock"), QStringLiteral("DockBottom"));
    QCOMPARE(stored("sbMain_Visible"), QStringLiteral("False"));

    start();
    QCOMPARE(window->pos(), QPoint(120, 90));
    QCOMPARE(window->toolBarArea(child<QToolBar>("tbMain")), Qt::BottomToolBarArea);
    QVERIFY(child<QStatusBar>("sbMain")->isHidden());
    // Shown in the normal style, then on top once the timer has ticked, without being shown afresh: a window
    // shown again lost the keyboard.
    QTRY_VERIFY(onTop());
    QCOMPARE(onTopAtShow, QList<bool>{false});
    QVERIFY(window->isVisible());
    QCOMPARE(window->pos(), QPoint(120, 90));
}

void TestViews::defaultBarsComeBackRunAfterRun()
{
    for (int run = 1; run <= 3; ++run) {
        start();
        QCOMPARE(barPlaces(), QStringLiteral("tbMenu DockTop 0, tbMain DockTop 1"));
        QTRY_VERIFY(everyToolbarButtonShows());
        exitRun();
        QCOMPARE(stored("tbMenu_DockRow"), QStringLiteral("0"));
        QCOMPARE(stored("tbMain_DockRow"), QStringLiteral("1"));
    }
}

// Each bar is moved to each area and row in one run, comes back there in the next, and is put back.
void TestViews::eachBarGoesToEachPlaceAndBack()
{
    const QString home = QStringLiteral("tbMenu DockTop 0, tbMain DockTop 1");
    for (const char *name : {"tbMenu", "tbMain"}) {
        for (Qt::ToolBarArea area : {Qt::TopToolBarArea, Qt::BottomToolBarArea}) {
            for (int row : {0, 1}) {
                start();
                auto *bar = child<DockToolBar>(name);
                bar->setCurrentDock({window.get(), area});
                bar->setDockRow(row);
                emit bar->topLevelChanged(false); // as a drop ends
                QVERIFY(RunUntilIdle());
                const QString moved = barPlaces();
                QVERIFY2(!moved.startsWith(QStringLiteral("tbMenu DockTop 0, tbMain DockTop 0")), qPrintable(moved));
                exitRun();
                start();
                QVERIFY2(barPlaces() == moved,
                         qPrintable(QStringLiteral("%1 came back as %2").arg(moved, barPlaces())));
                child<DockToolBar>("tbMenu")->setCurrentDock({window.get(), Qt::TopToolBarArea});
                child<DockToolBar>("tbMenu")->setDockRow(0);
                child<DockToolBar>("tbMain")->setCurrentDock({window.get(), Qt::TopToolBarArea});
                child<DockToolBar>("tbMain")->setDockRow(1);
                QCOMPARE(barPlaces(), home);
                exitRun();
            }
        }
        start();
        QCOMPARE(barPlaces(), home);
        QTRY_VERIFY(everyToolbarButtonShows());
        exitRun();
    }
}

void TestViews::otherPixelDensityKeepsTheDesignedPlace()
{
    store("NormPos", "200,150,508,555");
    store("PixelsPerInch", "1");
    store("FormStyle", "3");
    store("sbMain_Visible", "False");
    startAndTick();
    QCOMPARE(window->pos(), QPoint(60, 61));
    QVERIFY(child<QStatusBar>("sbMain")->isHidden());
    QVERIFY(onTop());
}

void TestViews::storedSlotText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Colour>("colour");
    QTest::newRow("not a number") << "abc" << White;
    QTest::newRow("missing") << QString() << White;
    QTest::newRow("blanks around") << " 255 " << Colour(0x000000FF);
    QTest::newRow("negative") << "-16777216" << Colour(0xFF000000);
}

void TestViews::storedSlotText()
{
    QFETCH(QString, text);
    QFETCH(Colour, colour);
    if (!text.isNull()) store("pSlot3_Color", text);
    store("pSlot4_Color", "128");
    start();
    QCOMPARE(child<ColourSwatch>("pSlot3")->colour(), colour);
    QCOMPARE(child<ColourSwatch>("pSlot4")->colour(), Colour(128));
}

void TestViews::storedStatusBarText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("hidden");
    QTest::newRow("false") << "false" << true;
    QTest::newRow("FALSE") << "FALSE" << true;
    QTest::newRow("no") << "no" << false;
    QTest::newRow("0") << "0" << false;
}

void TestViews::storedStatusBarText()
{
    QFETCH(QString, text);
    QFETCH(bool, hidden);
    store("sbMain_Visible", text);
    start();
    QCOMPARE(child<QStatusBar>("sbMain")->isHidden(), hidden);
}

void TestViews::senselessLayoutGivesTheDefault_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("a dock of no area") << "tbMain_CurrentDock"
                                       << "Nowhere";
    QTest::newRow("(null)") << "tbMain_CurrentDock"
                            << "(null)";
    QTest::newRow("the toolbar in the menu's row") << "tbMain_DockRow"
                                                   << "0";
    QTest::newRow("the menu in the toolbar's row") << "tbMenu_DockRow"
                                                   << "1";
}

void TestViews::senselessLayoutGivesTheDefault()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    store("tbMain_DockPos", "120");
    store(name, text);
    start();
    QCOMPARE(barPlaces(), QStringLiteral("tbMenu DockTop 0, tbMain DockTop 1"));
    QTRY_VERIFY(everyToolbarButtonShows());
    QVERIFY(RunUntilIdle());
    QVERIFY(command("actViewToolbar")->isChecked());
}

void TestViews::unknownFormStyleEndsUpNormal()
{
    store("FormStyle", "1");
    startAndTick();
    QVERIFY(!onTop());
}

void TestViews::olderFormVersionSkipsBothRestores()
{
    store("FormVersion", "-1");
    store("pCurrentColor_Color", "255");
    store("sbMain_Visible", "False");
    store("NormPos", "200,150,508,555");
    {
        TRegistry writer;
        writer.setRootKey(HKEY_LOCAL_MACHINE);
        QVERIFY(writer.openKey(CustomKey, true));
        writer.writeString(QStringLiteral("ColorA=0000FF"), QString());
    }
    startAndTick();
    QCOMPARE(window->currentColour(), White);
    QVERIFY(!child<QStatusBar>("sbMain")->isHidden());
    QCOMPARE(window->pos(), QPoint(60, 61));
    QVERIFY(window->customColourList().isEmpty());
    exitRun();
    QCOMPARE(stored("FormVersion"), QStringLiteral("0"));
    QCOMPARE(stored("pCurrentColor_Color"), QString::number(White));
    QCOMPARE(stored("sbMain_Visible"), QStringLiteral("True"));
    QCOMPARE(storedCustomLines(), QStringList());
}

void TestViews::badCustomColourLineLeavesTheDialogWorking()
{
    {
        TRegistry writer;
        writer.setRootKey(HKEY_LOCAL_MACHINE);
        QVERIFY(writer.openKey(CustomKey, true));
        writer.writeString(QStringLiteral("ColorA=0000FF"), QString());
        writer.writeString(QStringLiteral("ColorC=XYZ"), QString());
    }
    start();
    QColor first, third;
    QVERIFY(RunColourDialog(*window, [&](QColorDialog &dialog) {
        first = QColorDialog::customColor(0);
        third = QColorDialog::customColor(2);
        dialog.setCurrentColor(QColor(0, 0, 0x80));
        dialog.accept();
    }));
    QCOMPARE(first, QColor(255, 0, 0));
    QCOMPARE(third, QColor(Qt::white));
    QCOMPARE(window->currentColour(), Colour(0x00800000));
    QVERIFY(window->customColourList().contains(QStringLiteral("ColorC=FFFFFF")));
    exitRun();
    const QStringList lines = storedCustomLines();
    QCOMPARE(lines.size(), 16);
    QCOMPARE(lines.first(), QStringLiteral("ColorA=0000FF"));
}

void TestViews::palettePreviewSaysWhatComesAndWhatStays()
{
    const PaletteAssignment assignment{{MakeColour(0xFF, 0x80, 0)}, {}, 6};
    PaletteImportDialog dialog(QStringLiteral("<h1>BIG.gpl"), assignment, 3, 12, 16, nullptr);
    QStringList shown;
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        if (label->textFormat() == Qt::PlainText || !Qt::mightBeRichText(label->text())) shown.append(label->text());
    for (const char *text : {"From <h1>BIG.gpl:", "Slots 2 to 12 unchanged", "Custom colors 1 to 16 unchanged",
                             "6 colors not used; 3 CMYK colors skipped."})
        QVERIFY2(shown.contains(QLatin1String(text)), text);
    // Each place is named for a screen reader, its colour or "unchanged" as the description.
    QStringList read;
    for (const QFrame *place : dialog.findChildren<QFrame *>())
        if (!place->accessibleName().isEmpty())
            read.append(place->accessibleName() + u'=' + place->accessibleDescription());
    QCOMPARE(read.size(), 28);
    QVERIFY(read.contains(QStringLiteral("Slot 1=#FF8000")));
    QVERIFY(read.contains(QStringLiteral("Custom color 16=unchanged")));
}

QTEST_MAIN(TestViews)
#include "tst_views.moc"
