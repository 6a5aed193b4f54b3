// A Colour as Qt's colour types hold it and back. The colour library stays free of Qt; the windows convert here.
#pragma once

#include "uFunctions.h"

#include <QColor>

inline QColor toQColor(Colour colour)
{
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

inline Colour fromQColor(const QColor &colour)
{
    return MakeColour(colour.red(), colour.green(), colour.blue());
}

inline Colour fromQRgb(QRgb rgb)
{
    return MakeColour(qRed(rgb), qGreen(rgb), qBlue(rgb));
}
