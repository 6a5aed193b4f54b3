// The contrast of two colours by WCAG 2.2: relative luminance from WCAG's own coefficients, the ratio, the five
// verdicts, and the colour nearest to a given one that passes against a background. Plain C++ without Qt.
#pragma once

#include "uFunctions.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace colour {

// WCAG's relative luminance: 0.2126 R + 0.7152 G + 0.0722 B of the linear channels, 0 to 1.
double RelativeLuminance(Colour colour);
// (L1 + 0.05) / (L2 + 0.05), the lighter over the darker: 1 to 21.
double ContrastRatio(Colour first, Colour second);
// The ratio truncated to two decimals, never rounded up: "4.49:1" for 4.4999.
std::string FormatRatio(double ratio);

// A success criterion and the ratio it needs, judged on the unrounded ratio.
struct ContrastCriterion
{
    std::string_view name; // "AA normal text"
    double threshold;
};
inline constexpr std::array<ContrastCriterion, 5> ContrastCriteria{
    {{"AA normal text", 4.5}, {"AA large text", 3}, {"AAA normal text", 7}, {"AAA large text", 4.5}, {"Non-text", 3}}};
inline constexpr double AANormalText = 4.5;

// The colour nearest to `colour` that reaches `threshold` against `background`: the same OKLCH hue and chroma,
// the lightness moved the least (chroma reduced only where sRGB demands it). Nothing when no lightness in
// either direction reaches it.
std::optional<Colour> NearestPassingColour(Colour colour, Colour background, double threshold = AANormalText);

} // namespace colour
