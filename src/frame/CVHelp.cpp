#include "CVHelp.h"

#include "CVApp.h"
#include "CVBeep.h"
#include "CVExceptions.h"
#include "HelpViewerApi.h"

#include <QFileInfo>
#include <QLibrary>

namespace {
// A viewer that was loaded once stays loaded for the rest of the run; one that failed is tried again.
TintwellShowHelpTopicFunction LoadViewer(const TCVApplication &application)
{
    static TintwellShowHelpTopicFunction showTopic = nullptr;
    if (showTopic) return showTopic;
    QLibrary beside(application.ExePath + QStringLiteral(HELP_VIEWER_FILE_NAME));
    QLibrary installed(QStringLiteral(HELP_VIEWER_FILE_NAME));
    for (QLibrary *library : {&beside, &installed}) {
        if (auto entry = reinterpret_cast<TintwellShowHelpTopicFunction>(library->resolve(HELP_VIEWER_ENTRY_POINT)))
            return showTopic = entry;
    }
    return nullptr;
}
} // namespace

void ShowHelp(const TCVApplication &application, qint32 context)
{
    if (application.HelpFile.isEmpty() || !QFileInfo::exists(application.HelpFile)) return;
    const TintwellShowHelpTopicFunction showTopic = LoadViewer(application);
    if (!showTopic) {
        Beep();
        return;
    }
    QString error;
    if (!showTopic(&application.HelpFile, context, &error))
        throw ECVException(QStringLiteral("Unable to show help file '%1'.").arg(application.HelpFile), error,
                           TCVMessageKind::Warning);
}
