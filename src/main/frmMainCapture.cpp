// F12: the program gets out of the way, the screen is frozen in a snapshot and the user picks a pixel of it.
#include "frmMain.h"

#include "ScreenService.h"
#include "frmCapture.h"
#include "uOptions.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScopeGuard>
#include <QThread>

#include <algorithm>

void TTintMain::actEditCaptureExecute()
{
    capturing = true;
    const QPointer<QWidget> focused = focusWidget();
    // However the capture ends, also by an error, the window comes back as it was.
    const auto restore = qScopeGuard([this, focused] {
        showNormal();
        raise();
        activateWindow();
        if (focused) focused->setFocus(Qt::OtherFocusReason);
        capturing = false;
        alMainUpdate(); // the commands are back at once, not only at the next idle pass
    });

    showMinimized();
    QGuiApplication::sync(); // the window system must have the request before the wait
    QThread::msleep(ulong(std::clamp(TintOptions->CaptureDelay, 1, 2000)));

    ScreenService *screen = CreateScreenService(this);
    const auto release = qScopeGuard([screen] { screen->deleteLater(); });
    if (!captureFrm) captureFrm = std::make_unique<TCaptureFrm>();
    if (const std::optional<Colour> picked = CaptureColour(*screen, *captureFrm)) SetColour(*picked);
}
