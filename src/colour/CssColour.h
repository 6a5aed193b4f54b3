// Colours as the web writes them, by CSS Color Level 4: reading any of its syntaxes, and writing a colour in
// the formats the program offers beside its three notations. Plain C++ without Qt.
#pragma once

#include "ColourSpaces.h"
#include "uFunctions.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace colour {

// What a text said, as a colour of ours.
struct AnyColour
{
    Colour colour = White;
    bool mapped = false;       // it lay outside sRGB and was brought in by CSS's gamut mapping
    bool alphaDropped = false; // it had an alpha below 1, which a colour of ours cannot keep
    double alpha = 1;          // that alpha, 0 to 1

    bool operator==(const AnyColour &) const = default;
};

// A colour in any syntax of CSS Color 4: the named colours ("transparent" aside), #rgb, #rgba, #rrggbb and
// #rrggbbaa, rgb() rgba() hsl() hsla() in their legacy comma and modern forms, hwb() lab() lch() oklab() oklch(),
// and color() with srgb, srgb-linear, display-p3, a98-rgb, prophoto-rgb, rec2020, xyz, xyz-d50 or xyz-d65;
// also the program's three notations and six bare hexadecimal digits. Blanks around it are allowed, nothing
// else. Nothing for any other text.
std::optional<AnyColour> ReadAnyColour(std::string_view text);

// An sRGB value of any range as a colour of ours, as every reading brings one in: outside the gamut by CSS's
// gamut mapping, then rounded.
AnyColour FromSRGB(const spaces::Vec3 &rgb, double alpha = 1);

// A way of writing a colour: the three notations, and CSS's with the fewest digits that read back as the same
// colour.
struct ColourFormat
{
    std::string_view name; // as the command line and the store know it: "oklch"
    // The colour's text; nothing in the rare case that no text of the format, up to six decimals past the
    // fewest, reads back as exactly that colour.
    std::optional<std::string> (*write)(Colour);
};

// The three notations (rgb, hex, html), then css-rgb, hsl, hwb, lab, lch, oklab, oklch and display-p3.
std::span<const ColourFormat> ColourFormats();
// The format of that name, in any case; nothing for a name no format has.
const ColourFormat *FindColourFormat(std::string_view name);
// Where CSS's formats begin among ColourFormats().
inline constexpr std::size_t FirstCssFormat = 3;

} // namespace colour
