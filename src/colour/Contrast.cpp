#include "Contrast.h"

#include "ColourSpaces.h"
#include "CssColour.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace colour {

using namespace spaces; // the colour spaces and their conversions

namespace {

// WCAG's linear value of each of the 256 levels.
const std::array<double, 256> &LinearLevels()
{
    static const std::array<double, 256> levels = [] {
        std::array<double, 256> table{};
        for (int level = 0; level < 256; ++level) {
            const double c = level / 255.0;
            table[size_t(level)] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return table;
    }();
    return levels;
}

// The colour of that OKLCH lightness, with the chroma and hue of `lch`, brought into sRGB.
Colour AtLightness(const Vec3 &lch, double lightness)
{
    return FromSRGB(XYZToRgb(RgbSpace::SRGB, OklabToXYZ(FromPolar({lightness, lch[1], lch[2]})))).colour;
}

// The lightness between `from` (failing) and `to` (passing) where the colour starts to pass, and that colour;
// nothing when `to` fails too. `guess` is where the boundary is thought to lie: the search first tries either
// side of it, which at most costs two of its steps and most often saves five.
std::optional<std::pair<double, Colour>> Boundary(const Vec3 &lch, double from, double to, double guess,
                                                  Colour background, double threshold)
{
    Colour passing{};
    const auto passes = [&](double lightness) {
        const Colour colour = AtLightness(lch, lightness);
        if (ContrastRatio(colour, background) < threshold) return false;
        passing = colour;
        return true;
    };
    if (!passes(to)) return std::nullopt;
    const auto step = [&](double lightness) { (passes(lightness) ? to : from) = lightness; };
    const double toward = to > from ? 1 : -1, margin = 0.02;
    for (const double side : {margin, -margin}) {
        const double trial = guess + toward * side;
        if ((trial - from) * toward > 0 && (to - trial) * toward > 0) step(trial);
    }
    // Far finer than a level of any channel: a lightness step of 1/255 is about 0.004.
    while (std::abs(to - from) > 1e-5)
        step((from + to) / 2);
    return std::pair{std::abs(to - lch[0]), passing};
}

// The OKLCH lightness where `colour`, its hue and chroma kept, would have the relative luminance `target`, if
// luminance went with the cube of the lightness as it does for greys.
double LightnessGuess(const Vec3 &lch, Colour colour, double target)
{
    const double luminance = RelativeLuminance(colour);
    const double scale = luminance > 0 ? lch[0] / std::cbrt(luminance) : 1;
    return std::clamp(scale * std::cbrt(std::max(target, 0.0)), 0.0, 1.0);
}

} // namespace

double RelativeLuminance(Colour colour)
{
    const std::array<double, 256> &linear = LinearLevels();
    return 0.2126 * linear[size_t(GetRValue(colour))] + 0.7152 * linear[size_t(GetGValue(colour))] +
           0.0722 * linear[size_t(GetBValue(colour))];
}

double ContrastRatio(Colour first, Colour second)
{
    const double a = RelativeLuminance(first);
    const double b = RelativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

std::string FormatRatio(double ratio)
{
    // The product can round up across a whole hundredth (4.4999999999999 * 100 gives 450): what is shown
    // never exceeds the ratio, so that it never reaches a threshold the pair fails.
    double hundredths = std::floor(ratio * 100);
    if (hundredths / 100 > ratio) hundredths -= 1;
    char text[32];
    std::snprintf(text, sizeof text, "%.2f:1", hundredths / 100);
    return text;
}

std::optional<Colour> NearestPassingColour(Colour colour, Colour background, double threshold)
{
    if (ContrastRatio(colour, background) >= threshold) return colour;
    const Vec3 rgb{GetRValue(colour) / 255.0, GetGValue(colour) / 255.0, GetBValue(colour) / 255.0};
    const Vec3 lch = ToPolar(XYZToOklab(RgbToXYZ(RgbSpace::SRGB, rgb)));
    // The way from the background is searched first. The other way need only be searched as far as the
    // first answer lies: one test at that distance most often rules it out.
    const double backgroundLuminance = RelativeLuminance(background);
    const double darkerTarget = (backgroundLuminance + 0.05) / threshold - 0.05;
    const double lighterTarget = threshold * (backgroundLuminance + 0.05) - 0.05;
    const bool darkerFirst = backgroundLuminance > RelativeLuminance(colour);
    const double away = darkerFirst ? 0 : 1, toward = 1 - away;
    const auto guess = [&](bool darker) { return LightnessGuess(lch, colour, darker ? darkerTarget : lighterTarget); };
    const auto first = Boundary(lch, lch[0], away, guess(darkerFirst), background, threshold);
    const double reach = first ? first->first : 1;
    const double bound = toward > lch[0] ? std::min(1.0, lch[0] + reach) : std::max(0.0, lch[0] - reach);
    const auto second = Boundary(lch, lch[0], bound, guess(!darkerFirst), background, threshold);
    if (second && (!first || second->first < first->first)) return second->second;
    if (first) return first->second;
    return std::nullopt;
}

} // namespace colour
