#include "uFunctions.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace colour {

namespace {

// A component of the RGB notation: 1 to 3 decimal digits with a value of 0 to 255.
bool IsComponentText(std::string_view s)
{
    if (s.empty() || s.size() > 3 || !IsDigits(s)) return false;
    int value = 0;
    for (char ch : s)
        value = value * 10 + (ch - '0');
    return value <= 255;
}

// Decimal conversion as the RGB parser needs it: an optional sign and digits that fit in 32 bits.
int DecimalToInt(std::string_view s)
{
    std::string_view digits = s;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    int value = 0;
    const char *end = digits.data() + digits.size();
    const auto [ptr, ec] = std::from_chars(digits.data(), end, value);
    if (digits.empty() || ec != std::errc() || ptr != end || (s.front() == '+' && digits.front() == '-'))
        throw std::invalid_argument("'" + std::string(s) + "' is not a valid integer value");
    return value;
}

// Reads "RRGGBB" after a prefix the caller has dropped; a missing pair or a non-hex digit gives White.
Colour HexDigitsToColour(std::string_view digits) noexcept
{
    int parts[3];
    for (int i = 0; i < 3; ++i) {
        const std::string_view pair = digits.substr(std::min<std::size_t>(digits.size(), i * 2), 2);
        if (pair.empty()) return White;
        int value = 0;
        for (char ch : pair) {
            const int d = HexDigitValue(ch);
            if (d < 0) return White;
            value = value * 16 + d;
        }
        parts[i] = value;
    }
    return MakeColour(parts[0], parts[1], parts[2]);
}

bool IsPrefixedHexText(std::string_view text, std::string_view prefix) noexcept
{
    const std::string upper = UpperCase(text);
    if (LeftText(upper, prefix.size()) != prefix) return false;
    const std::string_view digits = std::string_view(upper).substr(prefix.size());
    if (digits.size() != 6) return false;
    for (char ch : digits)
        if (HexDigitValue(ch) < 0) return false;
    return true;
}

Colour PrefixedHexTextToColour(std::string_view text, std::size_t prefixLength) noexcept
{
    if (text.size() <= prefixLength) return White;
    return HexDigitsToColour(text.substr(prefixLength));
}

// The prefix and the two-digit upper-case hexadecimal of red, green and blue.
std::string PrefixedHexText(std::string_view prefix, Colour c)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    char buffer[10];
    char *out = std::copy(prefix.begin(), prefix.end(), buffer);
    for (int component : {GetRValue(c), GetGValue(c), GetBValue(c)}) {
        *out++ = digits[component >> 4];
        *out++ = digits[component & 0xF];
    }
    return std::string(buffer, out);
}

} // namespace

std::string LeftText(std::string_view s, std::size_t n)
{
    return std::string(s.substr(0, n));
}

std::string RightText(std::string_view s, std::size_t n)
{
    return std::string(n >= s.size() ? s : s.substr(s.size() - n));
}

std::string StripBlanks(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (char ch : s)
        if (ch != ' ') out += ch;
    return out;
}

std::size_t CountChar(std::string_view s, char ch)
{
    std::size_t n = 0;
    for (char c : s)
        n += c == ch;
    return n;
}

bool IsDigits(std::string_view s)
{
    for (char ch : s)
        if (ch < '0' || ch > '9') return false;
    return true;
}

std::string EmptyToZero(std::string_view s)
{
    return s.empty() ? std::string("0") : std::string(s);
}

std::string UpperCase(std::string_view s)
{
    std::string out(s);
    for (char &ch : out)
        ch = UpperCaseChar(ch);
    return out;
}

std::string LowerCase(std::string_view s)
{
    std::string out(s);
    for (char &ch : out)
        if (ch >= 'A' && ch <= 'Z') ch = char(ch - 'A' + 'a');
    return out;
}

bool IsRGBText(std::string_view text) noexcept
{
    // Without its blanks a valid text is at most "RGB(255,255,255)", 16 characters. Collecting the upper-cased,
    // blank-free text in a small buffer keeps the validator free of allocations.
    constexpr std::size_t longest = 16;
    char buffer[longest];
    std::size_t n = 0;
    for (char ch : text) {
        if (ch == ' ') continue;
        if (n == longest) return false;
        buffer[n++] = UpperCaseChar(ch);
    }
    const std::string_view s(buffer, n);
    if (s.substr(0, 4) != "RGB(" || s.size() < 5 || s.back() != ')' || CountChar(s, ',') != 2) return false;
    const std::string_view body = s.substr(4, s.size() - 5);
    const std::size_t first = body.find(',');
    const std::size_t second = body.find(',', first + 1);
    return IsComponentText(body.substr(0, first)) && IsComponentText(body.substr(first + 1, second - first - 1)) &&
           IsComponentText(body.substr(second + 1));
}

Colour RGBTextToColour(std::string_view text)
{
    // Upper-cased and without blanks in one pass; texts of a sensible length stay on the stack.
    char small[32];
    std::string large;
    char *out = small;
    if (text.size() > sizeof small) {
        large.resize(text.size());
        out = large.data();
    }
    const char *begin = out;
    for (char ch : text)
        if (ch != ' ') *out++ = UpperCaseChar(ch);
    const std::string_view s(begin, std::size_t(out - begin));

    const std::string_view body = s.size() > 4 ? s.substr(4) : std::string_view();
    const std::size_t first = body.find(',');
    if (first == std::string_view::npos) return White;
    const std::size_t second = body.find(',', first + 1);
    if (second == std::string_view::npos) return White;
    std::string_view third = body.substr(second + 1);
    third.remove_suffix(third.empty() ? 0 : 1);
    return MakeColour(DecimalToInt(body.substr(0, first)), DecimalToInt(body.substr(first + 1, second - first - 1)),
                      DecimalToInt(third));
}

std::string ColourToRGBText(Colour c)
{
    char buffer[18];
    char *out = buffer;
    const auto append = [&out](std::string_view part) { out = std::copy(part.begin(), part.end(), out); };
    const auto appendNumber = [&out](int value) { out = std::to_chars(out, out + 3, value).ptr; };
    append("RGB(");
    appendNumber(GetRValue(c));
    append(", ");
    appendNumber(GetGValue(c));
    append(", ");
    appendNumber(GetBValue(c));
    append(")");
    return std::string(buffer, out);
}

bool IsHEXText(std::string_view text) noexcept
{
    return IsPrefixedHexText(text, "0X00");
}

Colour HEXTextToColour(std::string_view text) noexcept
{
    return PrefixedHexTextToColour(text, 4);
}

std::string ColourToHEXText(Colour c)
{
    return PrefixedHexText("0x00", c);
}

bool IsHTMLText(std::string_view text) noexcept
{
    return IsPrefixedHexText(text, "#");
}

Colour HTMLTextToColour(std::string_view text) noexcept
{
    return PrefixedHexTextToColour(text, 1);
}

std::string ColourToHTMLText(Colour c)
{
    return PrefixedHexText("#", c);
}

} // namespace colour
