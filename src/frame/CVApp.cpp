#include "CVApp.h"

#include <QCoreApplication>
#include <QFileInfo>

TCVApplication *Application = nullptr;

QString ApplicationTitle()
{
    return Application ? Application->LongName : QCoreApplication::applicationName();
}

void TCVApplication::SetExeName(const QString &path)
{
    ExeName = path;
    const QFileInfo info(path);
    ExePath = info.path() + QLatin1Char('/');
    HelpFile = ExePath + info.completeBaseName() + QStringLiteral(".qch");
}
