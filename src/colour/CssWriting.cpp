// Writing colours as CSS Color 4 does, with the fewest digits that read back, and the list of formats.
#include "CssColour.h"

#include "ColourSpaces.h"
#include "CssReadBack.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string>

namespace {

// A number with at most `decimals` decimals, without trailing zeros.
std::string Decimal(double value, int decimals)
{
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr;
    std::string number(text, end);
    if (number.find('.') != std::string::npos) {
        number.erase(number.find_last_not_of('0') + 1);
        if (number.back() == '.') number.pop_back();
    }
    return number == "-0" ? "0" : number;
}

Vec3 SRGBOf(Colour colour)
{
    return {GetRValue(colour) / 255.0, GetGValue(colour) / 255.0, GetBValue(colour) / 255.0};
}

// A polar colour whose chroma is too small to tell has no hue worth writing.
Vec3 WithoutStrayHue(Vec3 lch, double noChroma)
{
    if (lch[1] < noChroma) lch[1] = lch[2] = 0;
    return lch;
}

// How a CSS function writes a colour: its numbers, each with its unit and the decimals it needs at least.
struct CssWriting
{
    std::string_view opening; // "hsl(" or "color(display-p3 "
    Vec3 (*numbers)(Colour);
    std::array<std::string_view, 3> units;
    std::array<int, 3> decimals;
};

// The fewest decimals that read back as the same colour, unmapped: each component's least, and then one
// more for all until they do; nothing when six more do not.
std::optional<std::string> WriteCss(const CssWriting &writing, Colour colour)
{
    const Vec3 numbers = writing.numbers(colour);
    const Colour wanted = colour & 0x00FFFFFF;
    for (int extra = 0; extra <= 6; ++extra) {
        std::string text(writing.opening);
        for (size_t i = 0; i < 3; ++i) {
            if (i > 0) text += ' ';
            text += Decimal(numbers[i], writing.decimals[i] + extra);
            text += writing.units[i];
        }
        text += ')';
        if (ReadsBackSurely(text, wanted)) return text;
    }
    return std::nullopt;
}

template <const CssWriting &writing> std::optional<std::string> Write(Colour colour)
{
    return WriteCss(writing, colour);
}

// The program's own notations, which always have a text.
template <std::string (*notation)(Colour)> std::optional<std::string> Always(Colour colour)
{
    return notation(colour);
}

constexpr CssWriting CssRgb{"rgb(",
                            [](Colour c) {
                                return Vec3{double(GetRValue(c)), double(GetGValue(c)), double(GetBValue(c))};
                            },
                            {"", "", ""},
                            {0, 0, 0}};
constexpr CssWriting CssHsl{"hsl(",
                            [](Colour c) {
                                const Vec3 hsl = SRGBToHsl(SRGBOf(c));
                                return Vec3{hsl[0], hsl[1] * 100, hsl[2] * 100};
                            },
                            {"", "%", "%"},
                            {0, 0, 0}};
constexpr CssWriting CssHwb{"hwb(",
                            [](Colour c) {
                                const Vec3 hwb = SRGBToHwb(SRGBOf(c));
                                return Vec3{hwb[0], hwb[1] * 100, hwb[2] * 100};
                            },
                            {"", "%", "%"},
                            {0, 0, 0}};
constexpr CssWriting CssLab{
    "lab(", [](Colour c) { return XYZToLab(RgbToXYZ(RgbSpace::SRGB, SRGBOf(c))); }, {"", "", ""}, {0, 0, 0}};
constexpr CssWriting CssLch{
    "lch(",
    [](Colour c) { return WithoutStrayHue(ToPolar(XYZToLab(RgbToXYZ(RgbSpace::SRGB, SRGBOf(c)))), 1e-4); },
    {"", "", ""},
    {0, 0, 0}};
constexpr CssWriting CssOklab{
    "oklab(", [](Colour c) { return XYZToOklab(RgbToXYZ(RgbSpace::SRGB, SRGBOf(c))); }, {"", "", ""}, {2, 3, 3}};
constexpr CssWriting CssOklch{
    "oklch(",
    [](Colour c) { return WithoutStrayHue(ToPolar(XYZToOklab(RgbToXYZ(RgbSpace::SRGB, SRGBOf(c)))), 1e-6); },
    {"", "", ""},
    {2, 3, 0}};
constexpr CssWriting CssDisplayP3{
    "color(display-p3 ",
    [](Colour c) { return XYZToRgb(RgbSpace::DisplayP3, RgbToXYZ(RgbSpace::SRGB, SRGBOf(c))); },
    {"", "", ""},
    {2, 2, 2}};

constexpr std::array<ColourFormat, 11> Formats{{
    {"rgb", Always<ColourToRGBText>},
    {"hex", Always<ColourToHEXText>},
    {"html", Always<ColourToHTMLText>},
    {"css-rgb", Write<CssRgb>},
    {"hsl", Write<CssHsl>},
    {"hwb", Write<CssHwb>},
    {"lab", Write<CssLab>},
    {"lch", Write<CssLch>},
    {"oklab", Write<CssOklab>},
    {"oklch", Write<CssOklch>},
    {"display-p3", Write<CssDisplayP3>},
}};

} // namespace

std::span<const ColourFormat> ColourFormats()
{
    return Formats;
}

const ColourFormat *FindColourFormat(std::string_view name)
{
    std::string lower(name);
    for (char &c : lower)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    const auto found =
        std::find_if(Formats.begin(), Formats.end(), [&](const ColourFormat &format) { return format.name == lower; });
    return found == Formats.end() ? nullptr : &*found;
}
