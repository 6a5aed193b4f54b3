#include "AreaSample.h"

#include "QtColour.h"

#include <QImage>

#include <algorithm>
#include <cstdint>

using namespace colour;

QRect SampleRect(QPoint centre, int side)
{
    return {centre - QPoint(side / 2, side / 2), QSize(side, side)};
}

AreaMean AverageArea(const QImage &picture, QPoint centre, int side)
{
    const QRect area = SampleRect(centre, side) & picture.rect();
    std::uint64_t red = 0, green = 0, blue = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            red += std::uint64_t(qRed(pixel));
            green += std::uint64_t(qGreen(pixel));
            blue += std::uint64_t(qBlue(pixel));
        }
    const auto count = std::uint64_t(std::max(1LL, qint64(area.width()) * area.height()));
    // floor(sum / count + 1/2) in whole numbers.
    const auto mean = [count](std::uint64_t sum) { return int((2 * sum + count) / (2 * count)); };
    return {MakeColour(mean(red), mean(green), mean(blue)), int(count)};
}
