// A Colour as Qt's colour types hold it and back. The colour library stays free of Qt; the windows convert here.
#pragma once

#include "uFunctions.h"

#include <QColor>

inline QColor toQColor(colour::Colour colour)
{
    return QColor(colour::GetRValue(colour), colour::GetGValue(colour), colour::GetBValue(colour));
}

inline colour::Colour fromQColor(const QColor &colour)
{
    return colour::MakeColour(colour.red(), colour.green(), colour.blue());
}

inline colour::Colour fromQRgb(QRgb rgb)
{
    return colour::MakeColour(qRed(rgb), qGreen(rgb), qBlue(rgb));
}
