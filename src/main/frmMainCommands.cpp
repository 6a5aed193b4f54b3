// The command list alMain, the bars and context menus that reach it, the routing of Ctrl+C and Ctrl+V,
// and the availability rules run whenever the event loop falls idle.
#include "frmMain.h"

#include "Clipboard.h"
#include "ColourHistory.h"
#include "ComponentControls.h"
#include "ContrastBar.h"
#include "CssCopyCommands.h"
#include "CVAppEvents.h"
#include "DockToolBar.h"
#include "PasteAnyCommand.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QToolBar>

namespace {

QIcon LoadGlyph(const char *name)
{
    return QIcon(QStringLiteral(":/glyphs/%1.svg").arg(QLatin1String(name)));
}

bool IsKey(const QKeyEvent *event, Qt::Key key)
{
    return event->keyCombination() == QKeyCombination(Qt::ControlModifier, key);
}

} // namespace

void TTintMain::CreateCommands()
{
    imlMenus = {LoadGlyph("pin-side"),      LoadGlyph("pin-front"), LoadGlyph("help"),
                LoadGlyph("colour-dialog"), LoadGlyph("capture"),   LoadGlyph("copy-thumbnail"),
                LoadGlyph("copy-hex"),      LoadGlyph("copy-html"), LoadGlyph("copy-rgb")};
    clipboard = new Clipboard(this);
    clipboard->setObjectName(QStringLiteral("clipboard"));
    connect(clipboard, &Clipboard::textRead, this, &TTintMain::ClipboardTextRead);
    ClipboardTextRead();

    auto *menuFile = new QMenu(this);
    auto *menuEdit = new QMenu(this);
    auto *menuView = new QMenu(this);
    auto *menuHelp = new QMenu(this);
    actFile = AddMenuCommand(menuFile, "actFile", QStringLiteral("File commands"));
    actFile->setText(QStringLiteral("&File"));
    actEdit = AddMenuCommand(menuEdit, "actEdit", QStringLiteral("Edit commands"));
    actEdit->setText(QStringLiteral("&Edit"));
    actView = AddMenuCommand(menuView, "actView", QStringLiteral("View commands"));
    actView->setText(QStringLiteral("&View"));
    actHelp = AddMenuCommand(menuHelp, "actHelp", QStringLiteral("Help commands"));
    actHelp->setText(QStringLiteral("&Help"));

    actHelpContents = AddCommand("actHelpContents", QStringLiteral("Corvane Tintwell &Help"), "Help",
                                 QStringLiteral("Corvane Tintwell help contents"), Qt::Key_F1, HelpPage,
                                 &TTintMain::actHelpContentsExecute);
    actHelpOnTheWeb = AddCommand("actHelpOnTheWeb", QStringLiteral("Corvane On The &Web"), "Help",
                                 QStringLiteral("Corvane on the Web"), {}, -1, &TTintMain::actHelpOnTheWebExecute);
    actHelpSendEmail = AddCommand("actHelpSendEmail", QStringLiteral("&Send Email"), "Help",
                                  QStringLiteral("Send email to Corvane"), {}, -1, &TTintMain::actHelpSendEmailExecute);
    actHelpAbout = AddCommand("actHelpAbout", QStringLiteral("&About..."), "Help",
                              QStringLiteral("About Corvane Tintwell"), {}, -1, &TTintMain::actHelpAboutExecute);
    actViewToolbar = AddCommand("actViewToolbar", QStringLiteral("&Toolbar"), "View",
                                QStringLiteral("Show/hide toolbar"), {}, -1, &TTintMain::actViewToolbarExecute);
    actViewStatusBar = AddCommand("actViewStatusBar", QStringLiteral("&Status Bar"), "View",
                                  QStringLiteral("Show/hide status bar"), {}, -1, &TTintMain::actViewStatusBarExecute);
    actViewAlwaysOnTop =
        AddCommand("actViewAlwaysOnTop", QStringLiteral("&Always on Top"), "View",
                   QStringLiteral("Keep window always on top"), {}, PinSide, &TTintMain::actViewAlwaysOnTopExecute);
    actViewContrast = AddCommand("actViewContrast", QStringLiteral("Co&ntrast"), "View",
                                 QStringLiteral("Show/hide contrast bar"), {}, -1, &TTintMain::actViewContrastExecute);
    for (QAction *view : {actViewToolbar, actViewStatusBar, actViewContrast, actViewAlwaysOnTop})
        view->setCheckable(true);
    // A checked entry with a glyph shows the glyph sunken in place of the check mark: the pin is for the toolbar.
    actViewAlwaysOnTop->setIconVisibleInMenu(false);
    actFilePreferences =
        AddCommand("actFilePreferences", QStringLiteral("&Preferences..."), "File",
                   QStringLiteral("Application preferences"), {}, -1, &TTintMain::actFilePreferencesExecute);
    actFileExit = AddCommand("actFileExit", QStringLiteral("E&xit"), "File", QStringLiteral("Exit the application"), {},
                             -1, &TTintMain::actFileExitExecute);
    actEditCopyRGB = AddCommand("actEditCopyRGB", QStringLiteral("Copy &RGB Value"), "Edit",
                                QStringLiteral("Copy current color RGB value to the Clipboard"), Qt::Key_F6, ClipRgb,
                                &TTintMain::actEditCopyRGBExecute);
    actEditCopyHEX = AddCommand("actEditCopyHEX", QStringLiteral("Copy He&xadecimal Value"), "Edit",
                                QStringLiteral("Copy current color hexadecimal value to the Clipboard"), Qt::Key_F7,
                                ClipHex, &TTintMain::actEditCopyHEXExecute);
    actEditCopyHTML = AddCommand("actEditCopyHTML", QStringLiteral("Copy &HTML Value"), "Edit",
                                 QStringLiteral("Copy current color HTML value to the Clipboard"), Qt::Key_F8, ClipHtml,
                                 &TTintMain::actEditCopyHTMLExecute);
    actEditCopyThumbnail = AddCommand("actEditCopyThumbnail", QStringLiteral("Copy &Thumbnail Image"), "Edit",
                                      QStringLiteral("Copy current color thumbnail image to the Clipboard"), Qt::Key_F9,
                                      ClipThumbnail, &TTintMain::actEditCopyThumbnailExecute);
    CreateWebCommands();
    actEditColorDialog = AddCommand("actEditColorDialog", QStringLiteral("Color &Dialog..."), "Edit",
                                    QStringLiteral("Open the color dialog"), Qt::Key_F11, ColourGrid,
                                    &TTintMain::actEditColorDialogExecute);
    actEditCapture =
        AddCommand("actEditCapture", QStringLiteral("&Capture Screen Color"), "Edit",
                   QStringLiteral("Capture screen color"), Qt::Key_F12, Pipette, &TTintMain::actEditCaptureExecute);

    CreatePaletteCommands();

    const QKeySequence copyKey(Qt::ControlModifier | Qt::Key_C);
    const QKeySequence pasteKey(Qt::ControlModifier | Qt::Key_V);
    actPopCopyRGB =
        AddCommand("actPopCopyRGB", QStringLiteral("Copy"), "Popup", {}, copyKey, -1, &TTintMain::actPopCopyRGBExecute);
    actPopPasteRGB = AddCommand("actPopPasteRGB", QStringLiteral("Paste"), "Popup", {}, pasteKey, -1,
                                &TTintMain::actPopPasteRGBExecute);
    actPopCopyHEX =
        AddCommand("actPopCopyHEX", QStringLiteral("Copy"), "Popup", {}, copyKey, -1, &TTintMain::actPopCopyHEXExecute);
    actPopPasteHEX = AddCommand("actPopPasteHEX", QStringLiteral("Paste"), "Popup", {}, pasteKey, -1,
                                &TTintMain::actPopPasteHEXExecute);
    actPopCopyHTML = AddCommand("actPopCopyHTML", QStringLiteral("Copy"), "Popup", {}, copyKey, -1,
                                &TTintMain::actPopCopyHTMLExecute);
    actPopPasteHTML = AddCommand("actPopPasteHTML", QStringLiteral("Paste"), "Popup", {}, pasteKey, -1,
                                 &TTintMain::actPopPasteHTMLExecute);
    // Ctrl+C and Ctrl+V are shown in the context menus but routed by eventFilter, by the focused field.
    for (QAction *popup :
         {actPopCopyRGB, actPopPasteRGB, actPopCopyHEX, actPopPasteHEX, actPopCopyHTML, actPopPasteHTML})
        popup->setShortcutContext(Qt::WidgetShortcut);

    // The window carries every command so that the F-keys act wherever the focus is and whatever bar is hidden.
    addActions(alMain);

    for (QWidget *control :
         std::initializer_list<QWidget *>{txtRed, slRed, txtGreen, slGreen, txtBlue, slBlue, txtRGB, txtHex, txtHTML})
        control->installEventFilter(this);
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TTintMain::alMainUpdate);
}

QAction *TTintMain::AddCommand(const char *name, const QString &caption, const char *category, const QString &hint,
                               const QKeySequence &shortcut, int glyph, Handler handler)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    action->setProperty("category", QLatin1String(category));
    action->setToolTip(hint);
    action->setStatusTip(hint);
    action->setShortcut(shortcut);
    if (glyph >= 0) action->setIcon(imlMenus.at(glyph));
    if (handler) RunWhenAvailable(action, [this, handler] { (this->*handler)(); });
    alMain.append(action);
    return action;
}

// A command runs only when it is available by the rules as they stand at that moment, whichever way it was
// reached. What it meets goes to the application's handler from here, not thrown on through Qt's frames (a
// menu's key handling, a shortcut's dispatch), whose temporaries an exception would skip.
void TTintMain::RunWhenAvailable(QAction *command, std::function<void()> run)
{
    connect(command, &QAction::triggered, this, [this, command, run = std::move(run)] {
        alMainUpdate();
        if (!command->isEnabled()) return;
        try {
            run();
        } catch (...) {
            aeMainException(this, std::current_exception());
        }
    });
}

QAction *TTintMain::AddMenuCommand(QMenu *menu, const char *name, const QString &hint)
{
    QAction *action = menu->menuAction();
    action->setObjectName(QLatin1String(name));
    action->setProperty("category", QStringLiteral("Menus"));
    action->setStatusTip(hint);
    connect(action, &QAction::triggered, this, &TTintMain::NullHandler);
    alMain.append(action);
    return action;
}

void TTintMain::CreateBars()
{
    QMenu *menuFile = actFile->menu<QMenu *>();
    menuFile->addActions({actFileExportPalette, actFileImportPalette});
    menuFile->addSeparator();
    menuFile->addActions({actFilePreferences});
    menuFile->addSeparator();
    menuFile->addAction(actFileExit);
    QMenu *menuEdit = actEdit->menu<QMenu *>();
    menuEdit->addActions({actEditCopyRGB, actEditCopyHEX, actEditCopyHTML, actEditCopyThumbnail});
    menuEdit->addSeparator();
    menuEdit->addActions({actEditCopyAs, copyAs->again(), actEditPasteAny});
    menuEdit->addSeparator();
    menuEdit->addAction(actEditColorDialog);
    menuEdit->addSeparator();
    menuEdit->addAction(actEditCapture);
    menuEdit->addSeparator();
    menuEdit->addAction(actEditRecentColors);
    QMenu *menuView = actView->menu<QMenu *>();
    menuView->addActions({actViewToolbar, actViewStatusBar, actViewContrast});
    menuView->addSeparator();
    menuView->addAction(actViewAlwaysOnTop);
    QMenu *menuHelp = actHelp->menu<QMenu *>();
    menuHelp->addAction(actHelpContents);
    menuHelp->addSeparator();
    menuHelp->addActions({actHelpOnTheWeb, actHelpSendEmail});
    menuHelp->addSeparator();
    menuHelp->addAction(actHelpAbout);

    tbMenu = new DockToolBar(QStringLiteral("Standard Menu"), this);
    tbMenu->setObjectName(QStringLiteral("tbMenu"));
    auto *menuBar = new QMenuBar(tbMenu);
    menuBar->setObjectName(QStringLiteral("mnuMain"));
    menuBar->setAccessibleName(QStringLiteral("Main menu"));
    menuBar->addActions({actFile, actEdit, actView, actHelp});
    tbMenu->addWidget(menuBar);

    tbMain = new DockToolBar(QStringLiteral("Standard Toolbar"), this);
    tbMain->setObjectName(QStringLiteral("tbMain"));
    tbMain->setIconSize(QSize(16, 16));
    tbMain->addActions({actEditCopyRGB, actEditCopyHEX, actEditCopyHTML, actEditCopyThumbnail});
    tbMain->addSeparator();
    tbMain->addAction(actEditColorDialog);
    tbMain->addSeparator();
    tbMain->addAction(actEditCapture);
    tbMain->addSeparator();
    tbMain->addAction(actViewAlwaysOnTop);
    tbMain->addSeparator();
    tbMain->addAction(actHelpContents);

    for (DockToolBar *bar : {tbMenu, tbMain}) {
        bar->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
        addToolBar(Qt::TopToolBarArea, bar);
        // The menu bar fills its row, wherever either bar is dropped. (Queued: the drop is still being laid out.)
        connect(bar, &QToolBar::topLevelChanged, tbMenu, &DockToolBar::takeWholeRow, Qt::QueuedConnection);
    }
    insertToolBarBreak(tbMain);

    CreatePopup("popRGB", txtRGB, actPopCopyRGB, actPopPasteRGB);
    CreatePopup("popHEX", txtHex, actPopCopyHEX, actPopPasteHEX);
    CreatePopup("popHTML", txtHTML, actPopCopyHTML, actPopPasteHTML);
}

QMenu *TTintMain::CreatePopup(const char *name, NotationEdit *field, QAction *copy, QAction *paste)
{
    auto *popup = new QMenu(this);
    popup->setObjectName(QLatin1String(name));
    // txtRGB's menu is read out as "RGB context menu".
    popup->setAccessibleName(QStringLiteral("%1 context menu").arg(field->objectName().mid(3)));
    popup->addAction(copy);
    popup->addSeparator();
    popup->addAction(paste);
    field->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(field, &QWidget::customContextMenuRequested, this, [this, field, popup](const QPoint &pos) {
        alMainUpdate();
        popup->popup(field->mapToGlobal(pos));
    });
    return popup;
}

void TTintMain::alMainUpdate()
{
    if (inUpdate) return;
    const QScopedValueRollback guard(inUpdate, true);

    const bool onTop = windowFlags() & Qt::WindowStaysOnTopHint;
    const Glyph pinGlyph = onTop ? PinFront : PinSide;
    if (shownPinGlyph != pinGlyph) {
        shownPinGlyph = pinGlyph;
        actViewAlwaysOnTop->setIcon(imlMenus.at(pinGlyph));
    }
    actViewToolbar->setChecked(!tbMain->isHidden());
    actViewStatusBar->setChecked(!statusBar()->isHidden());
    actViewContrast->setChecked(!pContrast->isHidden());
    actViewAlwaysOnTop->setChecked(onTop);

    // Outside a capture every command is available but a Paste whose notation the clipboard text does not
    // match; during a capture only the menu titles are.
    const bool available = !capturing;
    for (QAction *command : std::as_const(alMain)) {
        if (command == actFile || command == actEdit || command == actView || command == actHelp) continue;
        bool enabled = available;
        if (command == actPopPasteRGB)
            enabled = available && clipHoldsRGB;
        else if (command == actPopPasteHEX)
            enabled = available && clipHoldsHEX;
        else if (command == actPopPasteHTML)
            enabled = available && clipHoldsHTML;
        else if (command == actEditPasteAny)
            enabled = available && pasteAny->available();
        else if (command == actEditRecentColors)
            enabled = available && !history->colours().isEmpty();
        command->setEnabled(enabled);
    }
}

bool TTintMain::eventFilter(QObject *watched, QEvent *event)
{
    // Ctrl+C and Ctrl+V always mean a colour in a notation: they never reach a field's own copy and paste.
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool copy = IsKey(key, Qt::Key_C);
        const bool paste = IsKey(key, Qt::Key_V);
        if (copy || paste) {
            if (event->type() == QEvent::KeyPress) RouteClipboardKey(watched, paste);
            event->accept();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TTintMain::RouteClipboardKey(QObject *control, bool paste)
{
    // A notation field's own menu takes the key; anywhere else the first command in the list carrying it.
    QAction *command = paste ? actPopPasteRGB : actPopCopyRGB;
    if (control == txtHex)
        command = paste ? actPopPasteHEX : actPopCopyHEX;
    else if (control == txtHTML)
        command = paste ? actPopPasteHTML : actPopCopyHTML;
    alMainUpdate();
    command->trigger();
}

void TTintMain::actFileExitExecute()
{
    close();
}
