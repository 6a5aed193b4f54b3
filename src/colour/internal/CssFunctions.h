// CSS Color 4's colour functions (color() aside), one table that both reading and writing go by: each
// function's name, whether it also reads the old comma form, what a percentage of each coordinate stands for,
// how it is written, and its way to sRGB and back. For the colour library's own units.
#pragma once

#include "ColourSpaces.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace colour {

// The table is read by units that work in the colour spaces throughout.
using spaces::Vec3;

struct CssFunction
{
    // What the old comma-separated form asks of the coordinates, where the function reads it at all.
    enum class Legacy { None, SameKinds, PercentagesAfterHue };

    std::string_view name;  // "hsl"
    std::string_view alias; // another name it reads by, "hsla"; empty for none
    Legacy legacy;
    // What a percentage of 100 stands for in each coordinate's own scale; 0 marks a hue, an angle.
    std::array<double, 3> hundredPercent;
    std::array<std::string_view, 3> units; // as written: "%" or nothing
    std::array<int, 3> decimals;           // the fewest any colour is written with
    // The coordinates, in their own scale, as sRGB (unbounded), with the clamps CSS makes as it reads them.
    Vec3 (*toSRGB)(const Vec3 &coordinates);
    // And back, as written.
    Vec3 (*fromSRGB)(const Vec3 &rgb);
};

namespace css_functions {

using namespace spaces;

// A polar colour whose chroma is too small to tell has no hue worth writing.
inline Vec3 WithoutStrayHue(Vec3 lch, double noChroma)
{
    if (lch[1] < noChroma) lch[1] = lch[2] = 0;
    return lch;
}

inline constexpr CssFunction Rgb{"rgb",
                                 "rgba",
                                 CssFunction::Legacy::SameKinds,
                                 {255, 255, 255},
                                 {"", "", ""},
                                 {0, 0, 0},
                                 // CSS clamps rgb() where it reads it.
                                 [](const Vec3 &c) {
                                     return Vec3{std::clamp(c[0] / 255, 0.0, 1.0), std::clamp(c[1] / 255, 0.0, 1.0),
                                                 std::clamp(c[2] / 255, 0.0, 1.0)};
                                 },
                                 [](const Vec3 &rgb) {
                                     return Vec3{rgb[0] * 255, rgb[1] * 255, rgb[2] * 255};
                                 }};
inline constexpr CssFunction Hsl{"hsl",
                                 "hsla",
                                 CssFunction::Legacy::PercentagesAfterHue,
                                 {0, 100, 100},
                                 {"", "%", "%"},
                                 {0, 0, 0},
                                 [](const Vec3 &c) {
                                     return HslToSRGB({c[0], std::max(c[1], 0.0) / 100, c[2] / 100});
                                 },
                                 [](const Vec3 &rgb) {
                                     const Vec3 hsl = SRGBToHsl(rgb);
                                     return Vec3{hsl[0], hsl[1] * 100, hsl[2] * 100};
                                 }};
inline constexpr CssFunction Hwb{"hwb",
                                 "",
                                 CssFunction::Legacy::None,
                                 {0, 100, 100},
                                 {"", "%", "%"},
                                 {0, 0, 0},
                                 [](const Vec3 &c) {
                                     return HwbToSRGB({c[0], c[1] / 100, c[2] / 100});
                                 },
                                 [](const Vec3 &rgb) {
                                     const Vec3 hwb = SRGBToHwb(rgb);
                                     return Vec3{hwb[0], hwb[1] * 100, hwb[2] * 100};
                                 }};
inline constexpr CssFunction Lab{
    "lab",
    "",
    CssFunction::Legacy::None,
    {100, 125, 125},
    {"", "", ""},
    {0, 0, 0},
    [](const Vec3 &c) {
        return XYZToRgb(RgbSpace::SRGB, LabToXYZ({std::clamp(c[0], 0.0, 100.0), c[1], c[2]}));
    },
    [](const Vec3 &rgb) { return XYZToLab(RgbToXYZ(RgbSpace::SRGB, rgb)); }};
inline constexpr CssFunction Lch{
    "lch",
    "",
    CssFunction::Legacy::None,
    {100, 150, 0},
    {"", "", ""},
    {0, 0, 0},
    [](const Vec3 &c) {
        return XYZToRgb(RgbSpace::SRGB, LabToXYZ(FromPolar({std::clamp(c[0], 0.0, 100.0), std::max(c[1], 0.0), c[2]})));
    },
    [](const Vec3 &rgb) { return WithoutStrayHue(ToPolar(XYZToLab(RgbToXYZ(RgbSpace::SRGB, rgb))), 1e-4); }};
inline constexpr CssFunction Oklab{
    "oklab",
    "",
    CssFunction::Legacy::None,
    {1, 0.4, 0.4},
    {"", "", ""},
    {2, 3, 3},
    [](const Vec3 &c) {
        return XYZToRgb(RgbSpace::SRGB, OklabToXYZ({std::clamp(c[0], 0.0, 1.0), c[1], c[2]}));
    },
    [](const Vec3 &rgb) { return XYZToOklab(RgbToXYZ(RgbSpace::SRGB, rgb)); }};
inline constexpr CssFunction Oklch{
    "oklch",
    "",
    CssFunction::Legacy::None,
    {1, 0.4, 0},
    {"", "", ""},
    {2, 3, 0},
    [](const Vec3 &c) {
        return XYZToRgb(RgbSpace::SRGB, OklabToXYZ(FromPolar({std::clamp(c[0], 0.0, 1.0), std::max(c[1], 0.0), c[2]})));
    },
    [](const Vec3 &rgb) { return WithoutStrayHue(ToPolar(XYZToOklab(RgbToXYZ(RgbSpace::SRGB, rgb))), 1e-6); }};

} // namespace css_functions

inline constexpr std::array<const CssFunction *, 7> CssFunctions{
    &css_functions::Rgb, &css_functions::Hsl,   &css_functions::Hwb,  &css_functions::Lab,
    &css_functions::Lch, &css_functions::Oklab, &css_functions::Oklch};

} // namespace colour
