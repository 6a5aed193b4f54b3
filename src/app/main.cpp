#include "ClipboardHolder.h"
#include "CommandLine.h"
#include "TintApplication.h"
#include "uRes.h"

int main(int argc, char *argv[])
{
    if (isClipboardHolderCall(argc, argv)) return runClipboardHolder();
    TTintApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tintwell"));
    QApplication::setDesktopFileName(QStringLiteral("tintwell"));
    if (const std::optional<int> status = RunCommandLine(QApplication::arguments())) return *status;
    return RunTintwell(SplashWait);
}
