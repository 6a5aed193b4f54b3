#include "Contrast.h"

#include "ColourSpaces.h"
#include "CssColour.h"

#include <cmath>
#include <cstdio>

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

// The lightness between `from` (failing) and `to` (passing) where the colour starts to pass, and that colour.
std::optional<std::pair<double, Colour>> Boundary(const Vec3 &lch, double from, double to, Colour background,
                                                  double threshold)
{
    const auto passes = [&](double lightness) {
        return ContrastRatio(AtLightness(lch, lightness), background) >= threshold;
    };
    if (!passes(to)) return std::nullopt;
    // Far finer than a level of any channel: a lightness step of 1/255 is about 0.004.
    while (std::abs(to - from) > 1e-5) {
        const double middle = (from + to) / 2;
        (passes(middle) ? to : from) = middle;
    }
    return std::pair{std::abs(to - lch[0]), AtLightness(lch, to)};
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
    // A hair of slack, so that a ratio of exactly 7 computed as 6.9999999999 still shows 7.00.
    const double hundredths = std::floor(ratio * 100 + 1e-9);
    char text[32];
    std::snprintf(text, sizeof text, "%.2f:1", hundredths / 100);
    return text;
}

std::optional<Colour> NearestPassingColour(Colour colour, Colour background, double threshold)
{
    if (ContrastRatio(colour, background) >= threshold) return colour;
    const Vec3 rgb{GetRValue(colour) / 255.0, GetGValue(colour) / 255.0, GetBValue(colour) / 255.0};
    const Vec3 lch = ToPolar(XYZToOklab(RgbToXYZ(RgbSpace::SRGB, rgb)));
    const auto darker = Boundary(lch, lch[0], 0, background, threshold);
    const auto lighter = Boundary(lch, lch[0], 1, background, threshold);
    if (!darker && !lighter) return std::nullopt;
    if (!darker || (lighter && lighter->first < darker->first)) return lighter->second;
    return darker->second;
}
