// Writing colours as CSS Color 4 does, with the fewest digits that read back, and the list of formats.
#include "CssColour.h"

#include "ColourSpaces.h"
#include "CssFunctions.h"
#include "CssReadBack.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace colour {

using namespace spaces; // the colour spaces and their conversions

namespace {

// Whether a number lies exactly halfway between two of `decimals` decimals. A double's spacing at the sizes
// written is far above 1e-20, so twenty digits more tell an exact half from a near one.
bool ExactlyHalfway(double value, int decimals)
{
    char text[96];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals + 21).ptr;
    const std::string_view digits(end - 21, 21);
    return digits.front() == '5' && digits.find_first_not_of('0', 1) == std::string_view::npos;
}

// A number with at most `decimals` decimals, a half rounded away from zero as people round, without trailing
// zeros.
std::string Decimal(double value, int decimals)
{
    if (ExactlyHalfway(value, decimals)) value = std::nextafter(value, 2 * value);
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

// How a colour is written: its numbers, each with its unit and the decimals it needs at least.
struct CssWriting
{
    std::string opening; // "hsl(" or "color(display-p3 "
    Vec3 numbers;
    std::array<std::string_view, 3> units;
    std::array<int, 3> decimals;
};

// The text with each of `values` at most at its decimals.
std::string Text(const CssWriting &writing, const Vec3 &values, const std::array<int, 3> &decimals)
{
    std::string text(writing.opening);
    for (size_t i = 0; i < 3; ++i) {
        if (i > 0) text += ' ';
        text += Decimal(values[i], decimals[i]);
        text += writing.units[i];
    }
    return text + ')';
}

// The number of `decimals` decimals on the far side of `value` from the nearest one, or nothing when the
// nearest is the value itself: 52 beside 51 for 51.46.
std::optional<double> FarNeighbour(double value, int decimals)
{
    const std::string written = Decimal(value, decimals);
    double nearest = 0;
    std::from_chars(written.data(), written.data() + written.size(), nearest); // whatever the locale
    if (nearest == value) return std::nullopt;
    const double step = std::pow(10.0, -decimals);
    return nearest + (value > nearest ? step : -step);
}

// The fewest decimals that read back as the same colour, unmapped: each number's least, and then one more for
// all until they do (nothing when six more do not); then each number alone gives up what it can spare, so
// that no number written with a decimal fewer would still read back. With a decimal fewer a number is the
// nearest at that many decimals, or else its neighbour on the other side, which may read back where the
// nearest does not (hsl()'s 52% for 51.46%).
std::optional<std::string> WriteCss(const CssWriting &writing, Colour colour)
{
    const Colour wanted = colour & 0x00FFFFFF;
    std::array<int, 3> decimals = writing.decimals;
    Vec3 values = writing.numbers;
    while (!ReadsBackSurely(Text(writing, values, decimals), wanted)) {
        if (decimals[0] == writing.decimals[0] + 6) return std::nullopt;
        for (int &d : decimals)
            ++d;
    }
    for (bool spared = true; spared;) {
        spared = false;
        for (size_t i = 0; i < 3; ++i) {
            while (decimals[i] > writing.decimals[i]) {
                std::array<int, 3> fewer = decimals;
                --fewer[i];
                Vec3 tried = values;
                tried[i] = writing.numbers[i];
                bool readsBack = ReadsBackSurely(Text(writing, tried, fewer), wanted);
                if (const std::optional<double> far = FarNeighbour(writing.numbers[i], fewer[i]); !readsBack && far) {
                    tried[i] = *far;
                    readsBack = ReadsBackSurely(Text(writing, tried, fewer), wanted);
                }
                if (!readsBack) break;
                decimals = fewer;
                values = tried;
                spared = true;
            }
        }
    }
    return Text(writing, values, decimals);
}

// A colour in one of CSS's functions, as the table of functions writes it.
template <const CssFunction &function> std::optional<std::string> Write(Colour colour)
{
    return WriteCss(
        {std::string(function.name) + '(', function.fromSRGB(SRGBOf(colour)), function.units, function.decimals},
        colour);
}

std::optional<std::string> WriteDisplayP3(Colour colour)
{
    return WriteCss({"color(display-p3 ",
                     XYZToRgb(RgbSpace::DisplayP3, RgbToXYZ(RgbSpace::SRGB, SRGBOf(colour))),
                     {"", "", ""},
                     {2, 2, 2}},
                    colour);
}

// The program's own notations, which always have a text.
template <std::string (*notation)(Colour)> std::optional<std::string> Always(Colour colour)
{
    return notation(colour);
}

constexpr std::array<ColourFormat, 11> Formats{{
    {"rgb", Always<ColourToRGBText>},
    {"hex", Always<ColourToHEXText>},
    {"html", Always<ColourToHTMLText>},
    {"css-rgb", Write<css_functions::Rgb>},
    {"hsl", Write<css_functions::Hsl>},
    {"hwb", Write<css_functions::Hwb>},
    {"lab", Write<css_functions::Lab>},
    {"lch", Write<css_functions::Lch>},
    {"oklab", Write<css_functions::Oklab>},
    {"oklch", Write<css_functions::Oklch>},
    {"display-p3", WriteDisplayP3},
}};

} // namespace

std::span<const ColourFormat> ColourFormats()
{
    return Formats;
}

const ColourFormat *FindColourFormat(std::string_view name)
{
    const std::string lower = LowerCase(name);
    const auto found =
        std::find_if(Formats.begin(), Formats.end(), [&](const ColourFormat &format) { return format.name == lower; });
    return found == Formats.end() ? nullptr : &*found;
}

} // namespace colour
