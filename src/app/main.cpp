#include "ClipboardHolder.h"
#include "TintApplication.h"
#include "uRes.h"

int main(int argc, char *argv[])
{
    if (isClipboardHolderCall(argc, argv)) return runClipboardHolder();
    TTintApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tintwell"));
    QApplication::setDesktopFileName(QStringLiteral("tintwell"));
    return RunTintwell(SplashWait);
}
