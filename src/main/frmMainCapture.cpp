// F12: the program gets out of the way, the screen is frozen in a snapshot and the user picks a pixel of it.
#include "frmMain.h"

#include "CaptureSession.h"
#include "ScreenBackend.h"
#include "SessionType.h"
#include "uOptions.h"
#include "WindowHiding.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QScopeGuard>
#include <QThread>

namespace {

// On Wayland, minimising is only a request that some desktops ignore, and whatever of the program still shows
// would be in the snapshot: there the program hides its windows instead, and shows these again afterwards.
QList<QPointer<QWidget>> HideVisibleWindows()
{
    QList<QPointer<QWidget>> hidden;
    QList<QWidget *> visible;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible()) {
            hidden.append(window);
            visible.append(window);
        }
    // The capture starts only once they are all gone; the user's input waits till then.
    WindowHider hider;
    QEventLoop waiting;
    QObject::connect(&hider, &WindowHider::finished, &waiting, &QEventLoop::quit);
    hider.hide(visible);
    if (hider.isHiding()) waiting.exec(QEventLoop::ExcludeUserInputEvents);
    return hidden;
}

} // namespace

void TTintMain::actEditCaptureExecute()
{
    capturing = true;
    const QPointer<QWidget> focused = focusWidget();
    QList<QPointer<QWidget>> hidden;
    // However the capture ends, also by an error, the window comes back as it was.
    const auto restore = qScopeGuard([this, focused, &hidden] {
        for (QWidget *window : std::as_const(hidden))
            if (window) window->show();
        showNormal();
        raise();
        activateWindow();
        if (focused) focused->setFocus(Qt::OtherFocusReason);
        capturing = false;
        alMainUpdate(); // the commands are back at once, not only at the next idle pass
    });

    if (isWaylandSession())
        hidden = HideVisibleWindows();
    else
        showMinimized();
    QGuiApplication::sync(); // the window system must have the request before the wait
    QThread::msleep(ulong(TTintOptions::CaptureDelayRange.bound(TintOptions->CaptureDelay)));

    ScreenService *screen = createScreenService(this);
    const auto release = qScopeGuard([screen] { screen->deleteLater(); });
    if (!captureWindows) captureWindows = std::make_unique<TCaptureWindows>();
    // The zoom and the sample chosen are kept, however the capture ends.
    CaptureChoices choices{TintOptions->CaptureZoom, TintOptions->CaptureSample};
    const auto keep = qScopeGuard([&choices] {
        TintOptions->CaptureZoom = choices.zoom;
        TintOptions->CaptureSample = choices.sample;
    });
    if (const std::optional<PickedColour> picked =
            CaptureColour(*screen, *captureWindows, TintOptions->CaptureAllScreens, choices))
        TakeIn(TintOptions->CaptureSRGB && picked->srgb ? picked->srgb->colour : picked->device);
}
