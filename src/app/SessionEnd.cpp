#include "SessionEnd.h"

#include "CVAppEvents.h"
#include "frmMain.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

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

TSessionEnd::TSessionEnd(TTintMain &window) : m_window(window)
{
    connect(&m_signals, &TerminationSignals::received, this, &TSessionEnd::EndProgram);
}

void TSessionEnd::EndProgram()
{
    if (std::exchange(m_ending, true)) return;
    ReportToStandardError();
    CancelDialogs();
    // Posted, so that the window closes from the main loop, as File, Exit closes it, once the modal loops of
    // the cancelled dialogs have returned and their callers have finished.
    QMetaObject::invokeMethod(&m_window, &QWidget::close, Qt::QueuedConnection);
}
