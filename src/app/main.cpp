#include "ClipboardHolder.h"
#include "CommandLine.h"
#include "SessionType.h"
#include "TintApplication.h"
#include "uRes.h"
#include "WaylandWorkarounds.h"

#include <QLoggingCategory>

#include <csignal>

int main(int argc, char *argv[])
{
    // A reader of the program's output that has gone, such as a log that broke, must not end it at its next
    // warning: a write that fails costs nothing.
    std::signal(SIGPIPE, SIG_IGN);
    if (isClipboardHolderCall(argc, argv)) return runClipboardHolder();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const std::variant<int, DisplayRequest> request = ReadCommandLine(arguments);
    if (const int *status = std::get_if<int>(&request)) return *status;
    if (!isDisplayReachable()) return RefuseWithoutDisplay();
    // Qt reads the screen's colour profile too and logs what it cannot use; the program says that itself, in
    // its own words and once.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.icc.warning=false"));

    TTintApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tintwell"));
    QApplication::setDesktopFileName(QStringLiteral("tintwell"));
    const DisplayRequest &wanted = std::get<DisplayRequest>(request);
    return finishProcess(wanted.kind == DisplayRequest::Pick ? RunPick(wanted) : RunTintwell(SplashWait));
}
