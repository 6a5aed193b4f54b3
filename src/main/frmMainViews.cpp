// The view commands: the toolbar, the status bar, always-on-top, and the hints shown in the status bar.
#include "frmMain.h"

#include "ContrastBar.h"
#include "DockToolBar.h"
#include "HintLabel.h"
#include "uOptions.h"

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
    connect(pContrast, &ContrastBar::visibilityChanged, this, &TTintMain::FitHeightToBars);
}

void TTintMain::actViewContrastExecute()
{
    pContrast->setVisible(pContrast->isHidden());
}

// The window's size is fixed; the contrast bar, when shown, adds its height to the editor's. Its own height is
// fixed too, or the window's layout would take a share of the pixels the editor lacks from it.
void TTintMain::FitHeightToBars()
{
    pContrast->ensurePolished(); // the style's own sizes count
    pContrast->setFixedHeight(pContrast->sizeHint().height());
    setFixedHeight(ClientHeight + (pContrast->isHidden() ? 0 : pContrast->height()));
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
