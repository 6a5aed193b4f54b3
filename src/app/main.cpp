#include "CommandLine.h"
#include "frmMain.h"
#include "TintApplication.h"
#include "uRes.h"

int main(int argc, char *argv[])
{
    TTintApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tintwell"));
    QApplication::setApplicationDisplayName(QStringLiteral("Corvane Tintwell"));
    QApplication::setDesktopFileName(QStringLiteral("tintwell"));
    if (const std::optional<int> status = RunCommandLine(QApplication::arguments())) return *status;

    StartUp(SplashWait);
    int result = 0;
    {
        TTintMain TintMain;
        TintMain.show();
        result = app.exec();
    }
    // The preferences are saved here on every way out of the event loop, a fatal error's included.
    ShutDown();
    return result;
}
