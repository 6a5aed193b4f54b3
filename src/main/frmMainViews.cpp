// The view commands: the toolbar, the status bar, always-on-top, and the hints shown in the status bar.
#include "frmMain.h"

#include "ContrastBar.h"
#include "DockToolBar.h"
#include "HintLabel.h"
#include "uOptions.h"

#include <QBoxLayout>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QWindow>

using namespace colour;

TTintMain::FormStyle TTintMain::formStyle() const
{
    return windowFlags() & Qt::WindowStaysOnTopHint ? fsStayOnTop : fsNormal;
}

void TTintMain::actViewToolbarExecute()
{
    tbMain->setVisible(tbMain->isHidden());
}

void TTintMain::actViewStatusBarExecute()
{
    statusBar()->setVisible(statusBar()->isHidden());
}

// The contrast bar is hidden at first. Its background is a preference, kept from run to run; a stored value
// beyond a colour's three bytes keeps the three.
void TTintMain::CreateContrastBar()
{
    pContrast = new ContrastBar(this);
    pContrast->hide();
    if (TintOptions) pContrast->setBackground(Colour(TintOptions->ContrastBackground) & White);
    connect(pContrast, &ContrastBar::backgroundChanged, this,
            [](Colour background) { TintOptions->ContrastBackground = qint32(background); });
    connect(pContrast, &ContrastBar::colourChosen, this, &TTintMain::SetColour);
    connect(pContrast, &ContrastBar::visibilityChanged, this, &TTintMain::FitSizeToBars);
}

void TTintMain::actViewContrastExecute()
{
    pContrast->setVisible(pContrast->isHidden());
}

// The window's size is fixed; the contrast bar, when shown, adds its height to the editor's below the slots,
// or, where the screen is too low for that (a large scale on a low screen), its width beside the editor, so that
// every control stays on the screen. Its own size is fixed too, or the window's layout would take a share of
// the pixels the editor lacks from it.
void TTintMain::FitSizeToBars()
{
    if (placingContrastBar) return;
    pContrast->ensurePolished(); // the style's own sizes count
    const QSize bar = pContrast->sizeHint();
    const bool shown = !pContrast->isHidden();
    const bool beside = shown && !RoomBelowForBar(bar.height());
    QWidget *frame = centralWidget();
    if (beside != (pContrast->parentWidget() == frame)) {
        // A widget that changes its parent is hidden; showing a shown one again is no change of the user's.
        const QScopedValueRollback guard(placingContrastBar, true);
        if (beside)
            static_cast<QBoxLayout *>(frame->layout())->addWidget(pContrast, 0, Qt::AlignTop);
        else
            static_cast<QBoxLayout *>(pClient->layout())->insertWidget(ContrastBarRow, pContrast);
        if (shown) pContrast->show();
    }
    pContrast->setFixedHeight(bar.height());
    pContrast->setMinimumWidth(beside ? bar.width() : 0);
    pContrast->setMaximumWidth(beside ? bar.width() : QWIDGETSIZE_MAX);
    setFixedSize(ClientWidth + (beside ? bar.width() : 0), ClientHeight + (shown && !beside ? bar.height() : 0));
}

// Whether the screen the window is on can take its height with the bar below the slots, the frame included
// (before the window manager has framed it, a title bar's height is counted).
bool TTintMain::RoomBelowForBar(int barHeight) const
{
    const QScreen *shownOn = screen();
    if (!shownOn) return true;
    const QWindow *native = windowHandle();
    const QMargins frame = native ? native->frameMargins() : QMargins();
    const int frameHeight = std::max(frame.top() + frame.bottom(), 24);
    return ClientHeight + barHeight + frameHeight <= shownOn->availableGeometry().height();
}

void TTintMain::actViewAlwaysOnTopExecute()
{
    wantedFormStyle = formStyle() != fsNormal ? fsNormal : fsStayOnTop;
    SetFormStyle(wantedFormStyle);
}

// QWidget::setWindowFlag would make the native window afresh: hidden and mapped again, the window manager
// places it anew (it crept by its frame) and Qt no longer counts it as the active window, so the keys typed
// next reached no control. The flag is handed to the native window as it is, and the widget told of it.
void TTintMain::SetFormStyle(FormStyle style)
{
    const bool onTop = style == fsStayOnTop;
    if (bool(windowFlags() & Qt::WindowStaysOnTopHint) == onTop) return;
    const Qt::WindowFlags flags = windowFlags().setFlag(Qt::WindowStaysOnTopHint, onTop);
    overrideWindowFlags(flags);
    if (QWindow *handle = windowHandle()) handle->setFlags(flags);
}

void TTintMain::tSetFormStyleTimer()
{
    tSetFormStyle->stop();
    SetFormStyle(wantedFormStyle);
}

void TTintMain::aeMainHint(const QString &hint)
{
    lblHint->setHint(hint);
}

bool TTintMain::event(QEvent *event)
{
    if (event->type() == QEvent::StatusTip) {
        aeMainHint(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}
