#include "frmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tintwell"));
    QApplication::setApplicationDisplayName(QStringLiteral("Corvane Tintwell"));
    QApplication::setDesktopFileName(QStringLiteral("tintwell"));

    TTintMain TintMain;
    TintMain.show();
    return app.exec();
}
