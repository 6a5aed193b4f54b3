#include "SessionEnd.h"

#include "CVAppEvents.h"
#include "CVExceptions.h"
#include "frmCapture.h"
#include "frmMain.h"
#include "uOptions.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QSessionManager>

namespace {
// Every dialog that is up, the capture window among them, closes as its Cancel would; their modal loops
// end as soon as they run again.
void CancelDialogs()
{
    QList<QPointer<QDialog>> open;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *dialog = qobject_cast<QDialog *>(window); dialog && dialog->isVisible()) open.append(dialog);
    for (QDialog *dialog : std::as_const(open))
        if (dialog) dialog->reject();
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *capture = qobject_cast<TCaptureFrm *>(window); capture && capture->isVisible()) capture->close();
}
} // namespace

void SaveEverything(TTintMain &window)
{
    try {
        window.SaveStoredState();
    } catch (const ECVException &error) {
        ReportOnStandardError(error);
    }
    if (TintOptions) TintOptions->Save();
}

TSessionEnd::TSessionEnd(TTintMain &window, TerminationSignals &termination) : m_window(window)
{
    connect(&termination, &TerminationSignals::received, this, &TSessionEnd::EndProgram);
    if (termination.hasReceived()) EndProgram();
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &) { SaveEverything(m_window); });
}

void TSessionEnd::EndProgram()
{
    if (std::exchange(m_ending, true)) return;
    SendReportsToStandardError();
    CancelDialogs();
    // Posted, so that the window closes from the main loop, as File, Exit closes it, once the modal loops of
    // the cancelled dialogs have returned and their callers have finished.
    QMetaObject::invokeMethod(&m_window, &QWidget::close, Qt::QueuedConnection);
}
