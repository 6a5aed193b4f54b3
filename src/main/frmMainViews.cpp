// The view commands: the toolbar, the status bar, always-on-top, and the hints shown in the status bar.
#include "frmMain.h"

#include "FormStorage.h"

#include <QScopedValueRollback>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>

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

void TTintMain::actViewAlwaysOnTopExecute()
{
    wantedFormStyle = formStyle() != fsNormal ? fsNormal : fsStayOnTop;
    ApplyFormStyle();
}

void TTintMain::ApplyFormStyle()
{
    // The native window is made afresh, which hides and shows it: the stores must not take that for the
    // window's first show or its end.
    const QScopedValueRollback storageAsleep(Storage->Active, false);
    const QScopedValueRollback colourStorageAsleep(ColorStorage->Active, false);
    SetFormStyle(wantedFormStyle);
}

void TTintMain::SetFormStyle(FormStyle style)
{
    const bool onTop = style == fsStayOnTop;
    if (bool(windowFlags() & Qt::WindowStaysOnTopHint) == onTop) return;
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop); // hides the window
    if (shown) show();
}

void TTintMain::tSetFormStyleTimer()
{
    tSetFormStyle->stop();
    ApplyFormStyle();
}

void TTintMain::aeMainHint(const QString &hint)
{
    statusBar()->showMessage(hint);
}

bool TTintMain::event(QEvent *event)
{
    if (event->type() == QEvent::StatusTip) {
        aeMainHint(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}
