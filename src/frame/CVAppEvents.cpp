#include "CVAppEvents.h"

#include "CVApp.h"
#include "CVExceptions.h"
#include "CVMsgDetailsFrm.h"

#include <QApplication>
#include <QThread>
#include <QWidget>

#include <cstdio>

namespace {
bool reportToStandardError = false;

void BringApplicationToFront()
{
    QWidget *front = QApplication::activeWindow();
    if (!front) {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->isWindow()) {
                front = window;
                break;
            }
        }
    }
    if (!front) return;
    front->raise();
    front->activateWindow();
}

// QCoreApplication::exit does nothing while no event loop runs, as while the main window is first shown:
// then the request waits in the queue and ends the loop the moment it starts.
void EndProgram()
{
    if (QThread::currentThread()->loopLevel() > 0) {
        QCoreApplication::exit(1);
    } else {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    }
}
} // namespace

void SendReportsToStandardError()
{
    reportToStandardError = true;
}

void ReportOnStandardError(const ECVException &error)
{
    if (error.Kind > TCVMessageKind::Information) return;
    const QString line =
        error.Details.isEmpty() ? error.ErrorMessage : error.ErrorMessage + QStringLiteral(" (") + error.Details + u')';
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                 qPrintable(QString(line).replace(u'\n', u' ')));
}

void ReportError(const ECVException &error)
{
    if (error.Kind > TCVMessageKind::Information) return;
    if (reportToStandardError) return ReportOnStandardError(error);
    const bool english = Application ? Application->EnglishUI : true;
    ShowDetailsDialog(error.ErrorMessage, error.Details, Application ? Application->LongName : QString(), error.Kind,
                      english ? TCVLanguage::English : TCVLanguage::Portuguese,
                      Application ? Application->FontName : QString(), false);
}

void aeMainException(QObject *, std::exception_ptr error)
{
    if (!reportToStandardError) BringApplicationToFront();
    try {
        std::rethrow_exception(error);
    } catch (const ECVException &e) {
        if (e.Kind > TCVMessageKind::Information) return;
        ReportError(e);
        if (e.Kind == TCVMessageKind::Error) EndProgram();
    } catch (const std::exception &e) {
        ReportError(
            ECVException(QStringLiteral("Unexpected error."), QString::fromLocal8Bit(e.what()), TCVMessageKind::Error));
        EndProgram();
    } catch (...) {
        ReportError(ECVException(QStringLiteral("Unexpected error."), QStringLiteral("An error of unknown type."),
                                 TCVMessageKind::Error));
        EndProgram();
    }
}
