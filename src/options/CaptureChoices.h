// What the user chooses in a capture and keeps for the next one: how many pixels the magnifier shows, and how
// large a square a pick averages.
#pragma once

#include <array>

// The magnifier's zooms, in snapshot pixels across, that the mouse wheel steps through.
inline constexpr std::array<int, 3> CaptureZooms{9, 15, 25};
// The sides of the averaged square, in device pixels, that [ and ] (and Ctrl with the wheel) step through; 1 is
// the pixel alone.
inline constexpr std::array<int, 6> CaptureSamples{1, 3, 5, 9, 15, 25};

// The zoom or side of the list nearest to `value`, which may come from the store as anything at all.
int NearestCaptureZoom(int value);
int NearestCaptureSample(int value);
// The zoom or side `steps` along the list from `value` (back when negative), kept at its ends.
int StepCaptureZoom(int value, int steps);
int StepCaptureSample(int value, int steps);

struct CaptureChoices
{
    int zoom = CaptureZooms.front();
    int sample = CaptureSamples.front();
};
