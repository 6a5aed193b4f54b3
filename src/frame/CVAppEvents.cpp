#include "CVAppEvents.h"

#include "CVApp.h"
#include "CVExceptions.h"
#include "CVMsgDetailsFrm.h"

#include <QApplication>
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

void Report(const QString &message, const QString &details, TCVMessageKind kind)
{
    if (reportToStandardError) {
        const QString line = details.isEmpty() ? message : message + QStringLiteral(" (") + details + u')';
        std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                     qPrintable(QString(line).replace(u'\n', u' ')));
        return;
    }
    const bool english = Application ? Application->EnglishUI : true;
    ShowDetailsDialog(message, details, Application ? Application->LongName : QString(), kind,
                      english ? TCVLanguage::English : TCVLanguage::Portuguese,
                      Application ? Application->FontName : QString(), false);
}

void EndProgram()
{
    QCoreApplication::exit(1);
}
} // namespace

void ReportToStandardError() { reportToStandardError = true; }

void aeMainException(QObject *, std::exception_ptr error)
{
    if (!reportToStandardError) BringApplicationToFront();
    try {
        std::rethrow_exception(error);
    } catch (const ECVException &e) {
        if (e.Kind > 2) return;
        Report(e.ErrorMessage, e.Details, static_cast<TCVMessageKind>(e.Kind));
        if (e.Kind == 0) EndProgram();
    } catch (const std::exception &e) {
        Report(QStringLiteral("Unexpected error."), QString::fromLocal8Bit(e.what()), TCVMessageKind::Error);
        EndProgram();
    } catch (...) {
        Report(QStringLiteral("Unexpected error."), QStringLiteral("An error of unknown type."), TCVMessageKind::Error);
        EndProgram();
    }
}
