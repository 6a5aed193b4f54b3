// THolder: the hidden form that carries the splash picture among the program's resources.
#pragma once

#include <QPixmap>

#include <memory>

// A new bitmap of the splash picture, or null when the picture cannot be prepared.
std::unique_ptr<QPixmap> LoadSplashPicture();
