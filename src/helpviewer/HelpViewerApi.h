// The one entry point of the help viewer library, which the framework resolves by name at run time.
#pragma once

#include <QString>

#define HELP_VIEWER_FILE_NAME "libtintwell_helpviewer.so"
#define HELP_VIEWER_ENTRY_POINT "TintwellShowHelpTopic"

// Shows the topic of the context number (0: the default topic) of the compiled help file in the one help
// window, made on the first call and reused. On failure gives false and the reason in error.
using TintwellShowHelpTopicFunction = bool (*)(const QString *helpFile, qint32 context, QString *error);
