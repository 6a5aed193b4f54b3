// TSplashForm: the borderless, always-on-top picture with the program's edition, copyright and version
// that stands on screen while the program starts.
#pragma once

#include "uFunctions.h"

#include <QWidget>

class QLabel;
class QPixmap;
class TCVApplication;

class TSplashForm : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 500;
    static constexpr int ClientHeight = 400;

    TSplashForm();
    void Fill(const TCVApplication &application, const QPixmap *bitmap, colour::Colour textColour);

private:
    QLabel *ImgSplash;
    QLabel *lblSpecialVersion;
    QLabel *lblCopyright;
    QLabel *lblWarning;
    QLabel *lblApplicationVersion;
};

// Builds the splash window, shows it and paints it at once, so that it stays on screen through a
// blocking wait that follows. bitmap may be null: the window then shows its plain background.
void ShowSplash(const TCVApplication &application, const QPixmap *bitmap, colour::Colour textColour);
// Closes the splash window and lets the screen under it repaint.
void HideSplash();
// The splash window while it is shown, else null.
TSplashForm *SplashForm();
