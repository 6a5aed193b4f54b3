#include "ClipboardHolder.h"
#include "CommandLine.h"
#include "SessionType.h"
#include "TintApplication.h"
#include "uRes.h"

#include <QLoggingCategory>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {
// Once the program's work is done (output flushed, clipboard handed over, everything saved), nothing the
// teardown does matters to the user, and on Wayland the teardown is not safe: Qt 6.4's Wayland client, closing
// its display, can leave a read it prepared for the main thread neither done nor cancelled when its event thread
// stops, and then waits for ever for its frame-event thread, which waits for that read. A script waiting for
// `tintwell --pick`, or a desktop ending its session, would wait with it. There the process ends at once.
int Finish(int status)
{
    if (!QGuiApplication::platformName().startsWith(u"wayland")) return status;
    QGuiApplication::sync(); // what the windows last asked of the compositor (hidden, unmapped) is done
    std::fflush(nullptr);
    std::_Exit(status);
}
} // namespace

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
    return Finish(wanted.kind == DisplayRequest::Pick ? RunPick(wanted) : RunTintwell(SplashWait));
}
