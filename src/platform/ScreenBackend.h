// The screen service this session's desktop offers: the X server's own copy of the screens with the colour
// profiles the desktop publishes for them, KWin's screenshot service on KDE, or the desktop portal's screenshot
// on Wayland.
#pragma once

#include "ScreenService.h"

#include <functional>

// The backend for this session. Tests may replace the factory to serve fixed pictures.
ScreenService *createScreenService(QObject *parent);
using ScreenServiceFactory = std::function<ScreenService *(QObject *parent)>;
void setScreenServiceFactory(ScreenServiceFactory factory);
