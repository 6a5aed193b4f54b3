#include "CVApp.h"

#include <QFileInfo>

TCVApplication *Application = nullptr;

void TCVApplication::SetExeName(const QString &path)
{
    ExeName = path;
    const QFileInfo info(path);
    ExePath = info.path() + QLatin1Char('/');
    HelpFile = ExePath + info.completeBaseName() + QStringLiteral(".qch");
}
