// The area a pick takes: a square of device pixels centred on the pick point, and the mean of its colours (as
// WCAG asks for dithered or anti-aliased colours).
#pragma once

#include "uFunctions.h"

#include <QRect>

class QImage;

// The square of `side` pixels centred on `centre`.
QRect SampleRect(QPoint centre, int side);

struct AreaMean
{
    colour::Colour colour;
    int pixels; // how many counted: fewer than side² at the picture's edge
};
// The mean of each channel's 8-bit values over the square, rounded to the nearest level, halves up. Only the
// square's pixels inside the picture count; the centre is always inside.
AreaMean AverageArea(const QImage &picture, QPoint centre, int side);
