// The Colour value and its three text notations: RGB(r, g, b), 0x00RRGGBB and #RRGGBB.
// Plain C++ without Qt; texts are 8-bit strings and only the letters a-z are ever upper-cased.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace colour {

// A colour in the COLORREF layout 0x00BBGGRR: red in the low byte. The top byte is carried unchanged
// but ignored by the accessors and formatters.
using Colour = std::uint32_t;

inline constexpr Colour White = 0x00FFFFFF;

constexpr Colour MakeColour(int red, int green, int blue)
{
    return Colour(red & 0xFF) | Colour(green & 0xFF) << 8 | Colour(blue & 0xFF) << 16;
}
constexpr int GetRValue(Colour c)
{
    return int(c & 0xFF);
}
constexpr int GetGValue(Colour c)
{
    return int((c >> 8) & 0xFF);
}
constexpr int GetBValue(Colour c)
{
    return int((c >> 16) & 0xFF);
}

// Text helpers. Only the letters a-z are upper-cased; a hexadecimal digit is 0-9, A-F or a-f.
constexpr char UpperCaseChar(char ch)
{
    return ch >= 'a' && ch <= 'z' ? char(ch - 'a' + 'A') : ch;
}
// The digit's value, or -1 for a character that is no hexadecimal digit (any character code, so that wide
// characters can be asked too).
constexpr int HexDigitValue(char32_t ch)
{
    if (ch >= U'0' && ch <= U'9') return int(ch - U'0');
    if (ch >= U'A' && ch <= U'F') return int(ch - U'A' + 10);
    if (ch >= U'a' && ch <= U'f') return int(ch - U'a' + 10);
    return -1;
}
std::string LeftText(std::string_view s, std::size_t n);
std::string RightText(std::string_view s, std::size_t n);
std::string StripBlanks(std::string_view s);
std::size_t CountChar(std::string_view s, char ch);
bool IsDigits(std::string_view s);
std::string EmptyToZero(std::string_view s);
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);

// RGB notation: "RGB(255, 128, 0)"; blanks may stand anywhere, components have 1 to 3 digits.
bool IsRGBText(std::string_view text) noexcept;
// Callers validate first. Text without both commas gives White; a component that is not a decimal
// number throws std::invalid_argument.
Colour RGBTextToColour(std::string_view text);
std::string ColourToRGBText(Colour c);

// Hexadecimal notation: "0x00FF8000", red, green and blue in this order.
bool IsHEXText(std::string_view text) noexcept;
Colour HEXTextToColour(std::string_view text) noexcept; // White when unreadable
std::string ColourToHEXText(Colour c);

// HTML notation: "#FF8000".
bool IsHTMLText(std::string_view text) noexcept;
Colour HTMLTextToColour(std::string_view text) noexcept; // White when unreadable
std::string ColourToHTMLText(Colour c);

} // namespace colour
