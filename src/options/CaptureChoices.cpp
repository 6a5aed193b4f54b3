#include "CaptureChoices.h"

#include <QtGlobal>

#include <algorithm>
#include <cstdlib>

namespace {

template <size_t Size> int Nearest(const std::array<int, Size> &choices, int value)
{
    return *std::min_element(choices.begin(), choices.end(), [value](int a, int b) {
        return std::abs(qint64(a) - value) < std::abs(qint64(b) - value);
    });
}

template <size_t Size> int Step(const std::array<int, Size> &choices, int value, int steps)
{
    const auto current = std::find(choices.begin(), choices.end(), Nearest(choices, value)) - choices.begin();
    return choices[size_t(std::clamp<qint64>(current + steps, 0, qint64(Size) - 1))];
}

} // namespace

int NearestCaptureZoom(int value)
{
    return Nearest(CaptureZooms, value);
}

int NearestCaptureSample(int value)
{
    return Nearest(CaptureSamples, value);
}

int StepCaptureZoom(int value, int steps)
{
    return Step(CaptureZooms, value, steps);
}

int StepCaptureSample(int value, int steps)
{
    return Step(CaptureSamples, value, steps);
}
