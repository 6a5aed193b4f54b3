// The command set: every way of reaching a command, and the availability rules.
#include "Clipboard.h"
#include "ComponentControls.h"
#include "frmMain.h"
#include "ProgramState.h"
#include "uOptions.h"
#include "WindowTesting.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <map>
#include <memory>
#include <set>

using namespace colour;

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void commandTable_data();
    void commandTable();
    void menusAndToolbarPointAtCommands();
    void barsStartInTheTopArea();
    void toolbarAreasOfferNoMenu();
    void pasteFollowsClipboardText_data();
    void pasteFollowsClipboardText();
    void pasteNeedsTextClipboard();
    void checkMarksFollowBars();
    void functionKeysReachCommands();
    void copyAndPasteKeysFollowFocus_data();
    void copyAndPasteKeysFollowFocus();
    void pasteKeyAppliesOnlyItsNotation();
    void recentColoursListWhatWasTakenIn();
    void contextMenuReplacesEditMenu();
    void unavailableCommandDoesNotRun();
    void exitClosesTheWindow();
    void helpListsEveryKey();

private:
    QAction *command(const char *name) { return Child<QAction>(*window, name); }
    template <typename T> T *child(const char *name) { return Child<T>(*window, name); }
    static void idle() { QVERIFY(RunUntilIdle()); }
    void setClipboardText(const QString &text)
    {
        QApplication::clipboard()->setText(text);
        idle();
    }
    QStringList names(const QList<QAction *> &actions)
    {
        QStringList result;
        for (QAction *a : actions)
            result << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        return result;
    }

    std::unique_ptr<ProgramState> state;
    std::unique_ptr<TTintMain> window;
};

void TestCommands::init()
{
    // Each test has its own store: what one window saves at its end must not reach the next.
    state = std::make_unique<ProgramState>();
    TintOptions->CaptureDelay = 1;
    QApplication::clipboard()->clear();
    window = std::make_unique<TTintMain>();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

void TestCommands::cleanup()
{
    window.reset();
    state.reset();
}

void TestCommands::commandTable_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("glyph");
    QTest::addColumn<QString>("hint");

    const auto row = [](const char *name, const char *caption, const char *category, const char *shortcut, bool glyph,
                        const char *hint) { QTest::newRow(name) << caption << category << shortcut << glyph << hint; };
    row("actFile", "&File", "Menus", "", false, "File commands");
    row("actEdit", "&Edit", "Menus", "", false, "Edit commands");
    row("actView", "&View", "Menus", "", false, "View commands");
    row("actHelp", "&Help", "Menus", "", false, "Help commands");
    row("actHelpContents", "Corvane Tintwell &Help", "Help", "F1", true, "Corvane Tintwell help contents");
    row("actHelpOnTheWeb", "Corvane On The &Web", "Help", "", false, "Corvane on the Web");
    row("actHelpSendEmail", "&Send Email", "Help", "", false, "Send email to Corvane");
    row("actHelpAbout", "&About...", "Help", "", false, "About Corvane Tintwell");
    row("actViewToolbar", "&Toolbar", "View", "", false, "Show/hide toolbar");
    row("actViewStatusBar", "&Status Bar", "View", "", false, "Show/hide status bar");
    row("actViewContrast", "Co&ntrast", "View", "", false, "Show/hide contrast bar");
    row("actViewAlwaysOnTop", "&Always on Top", "View", "", true, "Keep window always on top");
    row("actFilePreferences", "&Preferences...", "File", "", false, "Application preferences");
    row("actFileExit", "E&xit", "File", "", false, "Exit the application");
    row("actEditCopyRGB", "Copy &RGB Value", "Edit", "F6", true, "Copy current color RGB value to the Clipboard");
    row("actEditCopyHEX", "Copy He&xadecimal Value", "Edit", "F7", true,
        "Copy current color hexadecimal value to the Clipboard");
    row("actEditCopyHTML", "Copy &HTML Value", "Edit", "F8", true, "Copy current color HTML value to the Clipboard");
    row("actEditCopyThumbnail", "Copy &Thumbnail Image", "Edit", "F9", true,
        "Copy current color thumbnail image to the Clipboard");
    row("actEditCopyAs", "Copy &As", "Menus", "", false, "Copy current color to the Clipboard in a CSS format");
    // Each format's hint is its text, made as the menu opens.
    row("actEditCopyAsCssRgb", "CSS &rgb()", "Edit", "", false, "");
    row("actEditCopyAsHsl", "CSS &hsl()", "Edit", "", false, "");
    row("actEditCopyAsHwb", "CSS h&wb()", "Edit", "", false, "");
    row("actEditCopyAsLab", "CSS l&ab()", "Edit", "", false, "");
    row("actEditCopyAsLch", "CSS l&ch()", "Edit", "", false, "");
    row("actEditCopyAsOklab", "CSS &oklab()", "Edit", "", false, "");
    row("actEditCopyAsOklch", "CSS ok&lch()", "Edit", "", false, "");
    row("actEditCopyAsDisplayP3", "CSS color(display-&p3 ...)", "Edit", "", false, "");
    row("actEditCopyAsAgain", "Copy A&gain As CSS oklch()", "Edit", "Ctrl+Shift+C", false,
        "Copy current color to the Clipboard as CSS oklch()");
    row("actEditPasteAny", "Paste Any C&olor", "Edit", "Ctrl+Shift+V", false,
        "Paste a color written in any CSS notation from the Clipboard");
    row("actEditColorDialog", "Color &Dialog...", "Edit", "F11", true, "Open the color dialog");
    row("actEditCapture", "&Capture Screen Color", "Edit", "F12", true, "Capture screen color");
    row("actEditClearRecent", "&Clear Recent Colors", "Edit", "", false, "Clear the list of recent colors");
    row("actEditRecentColors", "Recent Co&lors", "Menus", "", false, "Make a recently taken color the current color");
    row("actFileExportPalette", "&Export Palette...", "File", "", false,
        "Save the slots, custom colors and recent colors to a palette file");
    row("actFileImportPalette", "&Import Palette...", "File", "", false,
        "Load the slots and custom colors from a palette file");
    row("actPopCopyRGB", "Copy", "Popup", "Ctrl+C", false, "");
    row("actPopPasteRGB", "Paste", "Popup", "Ctrl+V", false, "");
    row("actPopCopyHEX", "Copy", "Popup", "Ctrl+C", false, "");
    row("actPopPasteHEX", "Paste", "Popup", "Ctrl+V", false, "");
    row("actPopCopyHTML", "Copy", "Popup", "Ctrl+C", false, "");
    row("actPopPasteHTML", "Paste", "Popup", "Ctrl+V", false, "");
}

void TestCommands::commandTable()
{
    QFETCH(QString, caption);
    QFETCH(QString, category);
    QFETCH(QString, shortcut);
    QFETCH(bool, glyph);
    QFETCH(QString, hint);
    const QString name = QString::fromLatin1(QTest::currentDataTag());

    // The window carries the whole list, in list order.
    static const QStringList order = [] {
        QStringList tags;
        for (const char *tag : {"actFile",
                                "actEdit",
                                "actView",
                                "actHelp",
                                "actHelpContents",
                                "actHelpOnTheWeb",
                                "actHelpSendEmail",
                                "actHelpAbout",
                                "actViewToolbar",
                                "actViewStatusBar",
                                "actViewAlwaysOnTop",
                                "actViewContrast",
                                "actFilePreferences",
                                "actFileExit",
                                "actEditCopyRGB",
                                "actEditCopyHEX",
                                "actEditCopyHTML",
                                "actEditCopyThumbnail",
                                "actEditCopyAs",
                                "actEditCopyAsCssRgb",
                                "actEditCopyAsHsl",
                                "actEditCopyAsHwb",
                                "actEditCopyAsLab",
                                "actEditCopyAsLch",
                                "actEditCopyAsOklab",
                                "actEditCopyAsOklch",
                                "actEditCopyAsDisplayP3",
                                "actEditCopyAsAgain",
                                "actEditPasteAny",
                                "actEditColorDialog",
                                "actEditCapture",
                                "actEditClearRecent",
                                "actEditRecentColors",
                                "actFileExportPalette",
                                "actFileImportPalette",
                                "actPopCopyRGB",
                                "actPopPasteRGB",
                                "actPopCopyHEX",
                                "actPopPasteHEX",
                                "actPopCopyHTML",
                                "actPopPasteHTML"})
            tags << QLatin1String(tag);
        return tags;
    }();
    QCOMPARE(names(window->actions()), order);

    QAction *action = command(qPrintable(name));
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->property("category").toString(), category);
    QCOMPARE(action->shortcut().toString(), shortcut);
    QCOMPARE(!action->icon().isNull(), glyph);
    QCOMPARE(action->statusTip(), hint);
    if (!hint.isEmpty() && category != QLatin1String("Menus")) QCOMPARE(action->toolTip(), hint);
    QVERIFY(action->shortcut() != QKeySequence(Qt::Key_F10));
}

void TestCommands::menusAndToolbarPointAtCommands()
{
    auto *menuBar = child<QMenuBar>("mnuMain");
    QCOMPARE(names(menuBar->actions()), QStringList({"actFile", "actEdit", "actView", "actHelp"}));
    const auto menuOf = [&](const char *name) { return names(command(name)->menu<QMenu *>()->actions()); };
    QCOMPARE(menuOf("actFile"), QStringList({"actFileExportPalette", "actFileImportPalette", "-", "actFilePreferences",
                                             "-", "actFileExit"}));
    QCOMPARE(menuOf("actEdit"),
             QStringList({"actEditCopyRGB", "actEditCopyHEX", "actEditCopyHTML", "actEditCopyThumbnail", "-",
                          "actEditCopyAs", "actEditCopyAsAgain", "actEditPasteAny", "-", "actEditColorDialog", "-",
                          "actEditCapture", "-", "actEditRecentColors"}));
    QCOMPARE(menuOf("actView"),
             QStringList({"actViewToolbar", "actViewStatusBar", "actViewContrast", "-", "actViewAlwaysOnTop"}));
    QCOMPARE(menuOf("actHelp"),
             QStringList({"actHelpContents", "-", "actHelpOnTheWeb", "actHelpSendEmail", "-", "actHelpAbout"}));
    QCOMPARE(
        names(child<QToolBar>("tbMain")->actions()),
        QStringList({"actEditCopyRGB", "actEditCopyHEX", "actEditCopyHTML", "actEditCopyThumbnail", "-",
                     "actEditColorDialog", "-", "actEditCapture", "-", "actViewAlwaysOnTop", "-", "actHelpContents"}));
    QCOMPARE(names(child<QMenu>("popRGB")->actions()), QStringList({"actPopCopyRGB", "-", "actPopPasteRGB"}));
    QCOMPARE(names(child<QMenu>("popHEX")->actions()), QStringList({"actPopCopyHEX", "-", "actPopPasteHEX"}));
    QCOMPARE(names(child<QMenu>("popHTML")->actions()), QStringList({"actPopCopyHTML", "-", "actPopPasteHTML"}));
    // The always-on-top button is a toggle, drawn pressed while checked.
    auto *pin = qobject_cast<QToolButton *>(child<QToolBar>("tbMain")->widgetForAction(command("actViewAlwaysOnTop")));
    QVERIFY(pin && pin->isCheckable());
}

void TestCommands::barsStartInTheTopArea()
{
    auto *tbMenu = child<QToolBar>("tbMenu");
    auto *tbMain = child<QToolBar>("tbMain");
    QCOMPARE(tbMenu->windowTitle(), QStringLiteral("Standard Menu"));
    QCOMPARE(tbMain->windowTitle(), QStringLiteral("Standard Toolbar"));
    QCOMPARE(window->toolBarArea(tbMenu), Qt::TopToolBarArea);
    QCOMPARE(window->toolBarArea(tbMain), Qt::TopToolBarArea);
    QVERIFY(tbMenu->y() < tbMain->y());
    QCOMPARE(tbMenu->width(), window->width());
    QVERIFY(tbMain->isAreaAllowed(Qt::BottomToolBarArea));
    QVERIFY(tbMenu->isAreaAllowed(Qt::BottomToolBarArea));
    // Both bars can be moved to the bottom area and into one row.
    window->addToolBar(Qt::BottomToolBarArea, tbMain);
    QCOMPARE(window->toolBarArea(tbMain), Qt::BottomToolBarArea);
    QCOMPARE(window->size(), QSize(300, 405));
}

void TestCommands::toolbarAreasOfferNoMenu()
{
    QVERIFY(!window->createPopupMenu());
    auto *tbMenu = child<QToolBar>("tbMenu");
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(2, 2), tbMenu->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(tbMenu, &rightClick);
    QVERIFY(!QApplication::activePopupWidget());
}

void TestCommands::pasteFollowsClipboardText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("rgb");
    QTest::addColumn<bool>("hex");
    QTest::addColumn<bool>("html");
    QTest::addColumn<bool>("any"); // Paste Any Color
    QTest::newRow("html") << "#FF8000" << false << false << true << true;
    QTest::newRow("rgb with blanks") << "rgb( 1, 2, 3 )" << true << false << false << true;
    QTest::newRow("hex lower case") << "0x00ff8000" << false << true << false << true;
    QTest::newRow("bare digits") << "FF8000" << false << false << false << true;
    QTest::newRow("css") << "oklch(70% 0.1 40deg)" << false << false << false << true;
    QTest::newRow("empty") << "" << false << false << false << false;
    QTest::newRow("non-latin text") << QString::fromUtf8("#FF80\u00e90") << false << false << false << false;
    QTest::newRow("html before a zero byte")
        << QString::fromLatin1("#FF8000\0zz", 10) << false << false << true << true;
    // Blanks may stand anywhere in the RGB notation, but no colour text is longer than 4 KiB.
    const auto padded = [](qsizetype size) { return QStringLiteral("RGB(1,2,3)").insert(4, QString(size - 10, u' ')); };
    QTest::newRow("rgb of 4 KiB") << padded(4096) << true << false << false << true;
    QTest::newRow("rgb longer than 4 KiB") << padded(4097) << false << false << false << false;
}

void TestCommands::pasteFollowsClipboardText()
{
    QFETCH(QString, text);
    QFETCH(bool, rgb);
    QFETCH(bool, hex);
    QFETCH(bool, html);
    QFETCH(bool, any);
    setClipboardText(text);
    QCOMPARE(command("actPopPasteRGB")->isEnabled(), rgb);
    QCOMPARE(command("actPopPasteHEX")->isEnabled(), hex);
    QCOMPARE(command("actPopPasteHTML")->isEnabled(), html);
    QCOMPARE(command("actEditPasteAny")->isEnabled(), any);
    // Everything else is available outside a capture, menu titles included, but the recent colours before any.
    for (QAction *a : window->actions())
        if (!a->objectName().startsWith(QLatin1String("actPopPaste")) && a != command("actEditPasteAny") &&
            a != command("actEditRecentColors"))
            QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
}

void TestCommands::pasteNeedsTextClipboard()
{
    setClipboardText(QStringLiteral("#FF8000"));
    QVERIFY(command("actPopPasteHTML")->isEnabled());
    QImage bitmap(8, 8, QImage::Format_RGB32);
    bitmap.fill(Qt::red);
    QApplication::clipboard()->setImage(bitmap);
    idle();
    QVERIFY(!command("actPopPasteHTML")->isEnabled());

    setClipboardText(QStringLiteral("#FF8000"));
    QVERIFY(command("actPopPasteHTML")->isEnabled());
    // A clipboard that cannot be read counts as empty, without a message.
    window->findChild<Clipboard *>()->setFailure(QStringLiteral("no clipboard service"));
    idle();
    QVERIFY(!command("actPopPasteHTML")->isEnabled());
    window->findChild<Clipboard *>()->setFailure(QString());
    idle();
    QVERIFY(command("actPopPasteHTML")->isEnabled());
}

void TestCommands::checkMarksFollowBars()
{
    idle();
    QVERIFY(command("actViewToolbar")->isChecked());
    QVERIFY(command("actViewStatusBar")->isChecked());
    QVERIFY(!command("actViewAlwaysOnTop")->isChecked());
    child<QToolBar>("tbMain")->hide();
    idle();
    QVERIFY(!command("actViewToolbar")->isChecked());
    window->statusBar()->hide();
    idle();
    QVERIFY(!command("actViewStatusBar")->isChecked());
    QCOMPARE(window->size(), QSize(300, 405));
    child<QToolBar>("tbMain")->show();
    idle();
    QVERIFY(command("actViewToolbar")->isChecked());
}

void TestCommands::functionKeysReachCommands()
{
    const QList<QPair<Qt::Key, const char *>> keys = {
        {Qt::Key_F1, "actHelpContents"}, {Qt::Key_F6, "actEditCopyRGB"},       {Qt::Key_F7, "actEditCopyHEX"},
        {Qt::Key_F8, "actEditCopyHTML"}, {Qt::Key_F9, "actEditCopyThumbnail"}, {Qt::Key_F11, "actEditColorDialog"},
        {Qt::Key_F12, "actEditCapture"}};
    // Commands that open a window of their own find it closed again at once.
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) dialog->reject();
        for (QWidget *capture : QApplication::topLevelWidgets())
            if (capture->isVisible() && capture->objectName() == u"CaptureFrm") capture->close();
    });
    closer.start(20);
    for (const char *focus : {"txtRed", "slGreen", "txtHex"}) {
        for (const auto &[key, name] : keys) {
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window.get()));
            child<QWidget>(focus)->setFocus();
            QSignalSpy triggered(command(name), &QAction::triggered);
            QTest::keyClick(QApplication::focusWidget(), key);
            QVERIFY2(triggered.count() == 1, name);
        }
    }
    // F10 belongs to nothing: it neither runs a command nor opens the menu bar.
    QTest::keyClick(window.get(), Qt::Key_F10);
    QVERIFY(!QApplication::activePopupWidget());
    QVERIFY(!child<QMenuBar>("mnuMain")->hasFocus());
}

void TestCommands::copyAndPasteKeysFollowFocus_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("copy");
    QTest::addColumn<QString>("paste");
    QTest::addColumn<QString>("clip");
    QTest::newRow("rgb field") << "txtRGB"
                               << "actPopCopyRGB"
                               << "actPopPasteRGB"
                               << "RGB(1, 2, 3)";
    QTest::newRow("hex field") << "txtHex"
                               << "actPopCopyHEX"
                               << "actPopPasteHEX"
                               << "0x00010203";
    QTest::newRow("html field") << "txtHTML"
                                << "actPopCopyHTML"
                                << "actPopPasteHTML"
                                << "#010203";
    QTest::newRow("number field") << "txtRed"
                                  << "actPopCopyRGB"
                                  << "actPopPasteRGB"
                                  << "RGB(1, 2, 3)";
    QTest::newRow("slider") << "slBlue"
                            << "actPopCopyRGB"
                            << "actPopPasteRGB"
                            << "RGB(1, 2, 3)";
}

void TestCommands::copyAndPasteKeysFollowFocus()
{
    QFETCH(QString, focus);
    QFETCH(QString, copy);
    QFETCH(QString, paste);
    QFETCH(QString, clip);
    setClipboardText(clip);
    QWidget *field = child<QWidget>(qPrintable(focus));
    field->setFocus();

    std::map<QString, std::unique_ptr<QSignalSpy>> spies;
    for (QAction *a : window->actions())
        if (a->objectName().startsWith(QLatin1String("actPop")))
            spies[a->objectName()] = std::make_unique<QSignalSpy>(a, &QAction::triggered);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    for (const auto &[name, spy] : spies)
        QCOMPARE(spy->count(), name == copy || name == paste ? 1 : 0);
    // The colour went through the field's notation both ways; the field's own copy and paste never ran.
    QCOMPARE(window->currentColour(), Colour(0x00030201));
    QCOMPARE(QApplication::clipboard()->text(), clip);
    if (auto *edit = qobject_cast<QLineEdit *>(field)) QCOMPARE(edit->text(), clip);
    if (auto *spin = qobject_cast<ComponentSpin *>(field)) QCOMPARE(spin->text(), QStringLiteral("1"));
}

void TestCommands::pasteKeyAppliesOnlyItsNotation()
{
    setClipboardText(QStringLiteral("RGB(1, 2, 3)"));
    auto *txtHTML = child<QLineEdit>("txtHTML");
    txtHTML->setFocus();
    txtHTML->setCursorPosition(3);
    QTest::keyClick(txtHTML, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(txtHTML->text(), QStringLiteral("#FFFFFF"));
    QCOMPARE(window->currentColour(), White);

    // In a number field the key pastes a colour, never digits into the field.
    setClipboardText(QStringLiteral("12"));
    auto *txtRed = child<ComponentSpin>("txtRed");
    txtRed->setFocus();
    QTest::keyClick(txtRed, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(txtRed->text(), QStringLiteral("255"));

    setClipboardText(QStringLiteral("#0A141E"));
    txtHTML->setFocus();
    QTest::keyClick(txtHTML, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(window->currentColour(), Colour(0x001E140A));
    QCOMPARE(txtHTML->text(), QStringLiteral("#0A141E"));
    QCOMPARE(txtRed->text(), QStringLiteral("10"));
}

// A colour taken in is listed, newest first; a slider's step and a notation field passed through are not.
// The submenu is offered only while it lists a colour, and an entry makes its colour the current one.
void TestCommands::recentColoursListWhatWasTakenIn()
{
    QAction *recent = command("actEditRecentColors");
    const auto listed = [recent] {
        QStringList texts;
        for (QAction *entry : recent->menu<QMenu *>()->actions())
            texts << (entry->isSeparator() ? QStringLiteral("-") : entry->text());
        return texts;
    };
    idle();
    QVERIFY(!recent->isEnabled());
    window->ApplyHTMLText(QStringLiteral("#0A141E"));
    window->ApplyRGBText(QStringLiteral("RGB(255, 128, 0)"));
    child<QSlider>("slRed")->triggerAction(QSlider::SliderSingleStepSub);
    auto *txtHex = child<QLineEdit>("txtHex");
    txtHex->setFocus();
    child<QLineEdit>("txtHTML")->setFocus();
    txtHex->setFocus();
    QTest::keyClicks(txtHex, QStringLiteral("0")); // "0x00FE80000": no colour, put back
    child<QLineEdit>("txtHTML")->setFocus();
    idle();
    QVERIFY(recent->isEnabled());
    QCOMPARE(listed(), QStringList({"#FF8000", "#0A141E", "-", "&Clear Recent Colors"}));
    recent->menu<QMenu *>()->actions().at(1)->trigger();
    QCOMPARE(window->currentColour(), Colour(0x001E140A));
    command("actEditClearRecent")->trigger();
    idle();
    QVERIFY(!recent->isEnabled());
}

void TestCommands::contextMenuReplacesEditMenu()
{
    setClipboardText(QStringLiteral("0x00102030"));
    auto *txtHex = child<QLineEdit>("txtHex");
    auto *popHEX = child<QMenu>("popHEX");
    emit txtHex->customContextMenuRequested(QPoint(5, 5));
    QTRY_VERIFY(popHEX->isVisible());
    QVERIFY(command("actPopPasteHEX")->isEnabled());
    // The menu's Paste applies the clipboard text as the colour.
    QTest::mouseClick(popHEX, Qt::LeftButton, {}, popHEX->actionGeometry(command("actPopPasteHEX")).center());
    QTRY_VERIFY(!popHEX->isVisible());
    QCOMPARE(window->currentColour(), Colour(0x00302010));
    QCOMPARE(txtHex->text(), QStringLiteral("0x00102030"));
}

void TestCommands::unavailableCommandDoesNotRun()
{
    setClipboardText(QStringLiteral("#123456"));
    QVERIFY(command("actPopPasteHTML")->isEnabled());
    // The clipboard changes after the last idle pass: the command checks again before it runs.
    QApplication::clipboard()->setText(QStringLiteral("no colour"));
    command("actPopPasteHTML")->trigger();
    QCOMPARE(window->currentColour(), White);
}

void TestCommands::exitClosesTheWindow()
{
    // The window closes; being the program's last window, that ends the event loop (the end-to-end test
    // sees the process exit).
    QVERIFY(QApplication::quitOnLastWindowClosed());
    command("actFileExit")->trigger();
    QVERIFY(!window->isVisible());
}

// The help's table of keys names every command that has a key, with that key, and nothing else.
void TestCommands::helpListsEveryKey()
{
    QFile page(QStringLiteral(HELP_CONTENTS));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    const qsizetype table = html.indexOf(QStringLiteral("<table class=\"keys\""));
    QVERIFY(table >= 0);
    const QString rows = html.mid(table, html.indexOf(QStringLiteral("</table>"), table) - table);
    static const QRegularExpression row(QStringLiteral("<tr><td>([^<]*)</td><td>([^<]*)</td>"));
    std::set<std::pair<QString, QString>> listed, keyed;
    for (const QRegularExpressionMatch &match : row.globalMatch(rows))
        listed.emplace(match.captured(1), match.captured(2));
    for (QAction *action : window->actions())
        if (!action->shortcut().isEmpty()) keyed.emplace(action->text().remove(u'&'), action->shortcut().toString());
    QCOMPARE(listed, keyed);
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
