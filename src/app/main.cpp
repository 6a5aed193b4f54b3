#include "frmMain.h"
#include "SessionEnd.h"
#include "TintApplication.h"
#include "uRes.h"

int main(int argc, char *argv[])
{
    TTintApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tintwell"));
    QApplication::setDesktopFileName(QStringLiteral("tintwell"));

    StartUp(SplashWait);
    int result = 0;
    {
        TTintMain TintMain;
        TSessionEnd sessionEnd(TintMain);
        TintMain.show();
        result = app.exec();
    }
    // The preferences are saved here on every way out of the event loop, a fatal error's included.
    ShutDown();
    return result;
}
