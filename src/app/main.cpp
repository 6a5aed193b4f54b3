#include "TintApplication.h"
#include "uRes.h"

int main(int argc, char *argv[])
{
    TTintApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tintwell"));
    QApplication::setDesktopFileName(QStringLiteral("tintwell"));
    return RunTintwell(SplashWait);
}
