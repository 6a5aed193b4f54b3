#include "ClipboardHolder.h"
#include "CommandLine.h"
#include "SessionType.h"
#include "TintApplication.h"
#include "uRes.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {
// Once the program's work is done (output flushed, clipboard handed over, everything saved), the process ends
// within a bounded time whatever its teardown meets: Qt's Wayland platform can wait forever for its event thread
// as it closes the display, and a script waiting for `tintwell --pick` would wait with it.
int EndWithin(std::chrono::seconds bound, int status)
{
    std::fflush(nullptr);
    std::thread([bound, status] {
        std::this_thread::sleep_for(bound);
        std::_Exit(status);
    }).detach();
    return status;
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

    TTintApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tintwell"));
    QApplication::setDesktopFileName(QStringLiteral("tintwell"));
    const DisplayRequest &wanted = std::get<DisplayRequest>(request);
    return EndWithin(std::chrono::seconds(10),
                     wanted.kind == DisplayRequest::Pick ? RunPick(wanted) : RunTintwell(SplashWait));
}
