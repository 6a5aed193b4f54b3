// Reading colours as CSS Color 4 writes them, and bringing them into sRGB.
#include "CssColour.h"

#include "ColourSpaces.h"
#include "CssFunctions.h"
#include "CssReadBack.h"
#include "NamedColours.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>

namespace colour {

using namespace spaces; // the colour spaces and their conversions

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsDigit(c) || c == '-';
}

// One value between a function's parentheses.
struct Component
{
    enum Kind { Number, Percentage, Angle, None } kind = Number;
    double value = 0; // an angle in degrees
};

class Scanner
{
public:
    explicit Scanner(std::string_view text) : m_text(text) {}

    bool SkipBlanks()
    {
        const size_t from = m_at;
        while (m_at < m_text.size() && IsBlank(m_text[m_at]))
            ++m_at;
        return m_at > from;
    }
    bool Take(char c)
    {
        if (m_at >= m_text.size() || m_text[m_at] != c) return false;
        ++m_at;
        return true;
    }
    bool AtEnd() const { return m_at == m_text.size(); }

    std::string Name()
    {
        const size_t from = m_at;
        while (m_at < m_text.size() && IsNameChar(m_text[m_at]))
            ++m_at;
        return LowerCase(m_text.substr(from, m_at - from));
    }

    // A number as CSS writes it ("5", "-.5", "+1e3"), with its unit or percent sign, or the keyword none.
    std::optional<Component> Value()
    {
        if (m_at < m_text.size() && !IsDigit(m_text[m_at]) && m_text[m_at] != '.' && m_text[m_at] != '+' &&
            m_text[m_at] != '-') {
            if (Name() == "none") return Component{Component::None, 0};
            return std::nullopt;
        }
        const std::optional<double> number = Number();
        if (!number) return std::nullopt;
        if (Take('%')) return Component{Component::Percentage, *number};
        const std::string unit = Name();
        if (unit.empty()) return Component{Component::Number, *number};
        static constexpr std::array<std::pair<std::string_view, double>, 4> Degrees{
            {{"deg", 1}, {"grad", 0.9}, {"rad", 180 / std::numbers::pi}, {"turn", 360}}};
        for (const auto &[name, degrees] : Degrees)
            if (unit == name) return Component{Component::Angle, *number * degrees};
        return std::nullopt;
    }

private:
    std::optional<double> Number()
    {
        const size_t from = m_at;
        if (m_at < m_text.size() && (m_text[m_at] == '+' || m_text[m_at] == '-')) ++m_at;
        const size_t whole = Digits();
        size_t fraction = 0;
        if (Take('.') && (fraction = Digits()) == 0) return std::nullopt; // "5." is no number in CSS
        if (whole == 0 && fraction == 0) return std::nullopt;
        if (m_at + 1 < m_text.size() && (m_text[m_at] == 'e' || m_text[m_at] == 'E')) {
            const size_t sign = m_text[m_at + 1] == '+' || m_text[m_at + 1] == '-' ? 1 : 0;
            if (m_at + 1 + sign < m_text.size() && IsDigit(m_text[m_at + 1 + sign])) {
                m_at += 1 + sign;
                Digits();
            }
        }
        std::string_view number = m_text.substr(from, m_at - from);
        if (number.front() == '+') number.remove_prefix(1); // from_chars takes no plus sign
        double value = 0;
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
        if (end != number.data() + number.size()) return std::nullopt;
        // A number too small for a double is as good as 0, as CSS's readers take it; one too large is refused.
        if (error == std::errc::result_out_of_range && Underflows(number)) return number.front() == '-' ? -0.0 : 0.0;
        if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
        return value;
    }
    // Whether a decimal number that is out of a double's range lies below it: its first significant digit
    // stands after the decimal point, once the exponent is applied.
    static bool Underflows(std::string_view number)
    {
        const size_t e = number.find_first_of("eE");
        const std::string_view mantissa = number.substr(0, e);
        long long exponent = 0;
        if (e != std::string_view::npos) {
            std::string_view digits = number.substr(e + 1);
            const bool negative = digits.front() == '-';
            if (digits.front() == '-' || digits.front() == '+') digits.remove_prefix(1);
            for (const char digit : digits)
                exponent = std::min<long long>(exponent * 10 + (digit - '0'), 1LL << 40);
            if (negative) exponent = -exponent;
        }
        const size_t point = mantissa.find('.');
        const size_t first = mantissa.find_first_of("123456789");
        if (first == std::string_view::npos) return true;
        const size_t wholeEnd = point == std::string_view::npos ? mantissa.size() : point;
        const long long place = first < wholeEnd ? (long long)(wholeEnd - first - 1) : -(long long)(first - wholeEnd);
        return place + exponent < 0;
    }
    size_t Digits()
    {
        const size_t from = m_at;
        while (m_at < m_text.size() && IsDigit(m_text[m_at]))
            ++m_at;
        return m_at - from;
    }

    std::string_view m_text;
    size_t m_at = 0;
};

// What a colour function's parentheses hold.
struct Arguments
{
    std::array<Component, 3> components;
    std::optional<Component> alpha;
    bool legacy = false; // separated by commas
    std::string space;   // color()'s first word
};

// Reads from just after the opening parenthesis up to the end of the text, which must close the function.
std::optional<Arguments> ReadArguments(Scanner &scanner, bool spaceFirst)
{
    Arguments arguments;
    scanner.SkipBlanks();
    if (spaceFirst) {
        arguments.space = scanner.Name();
        if (!scanner.SkipBlanks()) return std::nullopt;
    }
    for (size_t i = 0; i < 3; ++i) {
        if (i > 0) {
            scanner.SkipBlanks();
            const bool comma = scanner.Take(',');
            if (i == 1) arguments.legacy = comma;
            if (comma != arguments.legacy) return std::nullopt;
            scanner.SkipBlanks();
        }
        const std::optional<Component> component = scanner.Value();
        if (!component) return std::nullopt;
        arguments.components[i] = *component;
    }
    scanner.SkipBlanks();
    if (scanner.Take(arguments.legacy ? ',' : '/')) {
        scanner.SkipBlanks();
        arguments.alpha = scanner.Value();
        if (!arguments.alpha) return std::nullopt;
        scanner.SkipBlanks();
    }
    if (!scanner.Take(')')) return std::nullopt;
    scanner.SkipBlanks();
    if (!scanner.AtEnd()) return std::nullopt;
    if (arguments.legacy) { // none is modern syntax only
        for (const Component &component : arguments.components)
            if (component.kind == Component::None) return std::nullopt;
        if (arguments.alpha && arguments.alpha->kind == Component::None) return std::nullopt;
    }
    return arguments;
}

// The component's number, where a percentage of 100 stands for `hundredPercent`; none is 0. Nothing when
// the component is of a kind this place does not take.
std::optional<double> Amount(const Component &component, double hundredPercent)
{
    switch (component.kind) {
    case Component::Number:
        return component.value;
    case Component::Percentage:
        return component.value * hundredPercent / 100;
    case Component::None:
        return 0.0;
    case Component::Angle:
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<double> Hue(const Component &component)
{
    if (component.kind == Component::Percentage) return std::nullopt;
    return component.kind == Component::None ? 0.0 : component.value;
}

// The sRGB value (unbounded) of color(), or nothing when its arguments do not fit it.
std::optional<Vec3> ColorFunctionColour(const Arguments &arguments)
{
    if (arguments.legacy) return std::nullopt;
    Vec3 values;
    for (size_t i = 0; i < 3; ++i) {
        const std::optional<double> value = Amount(arguments.components[i], 1);
        if (!value) return std::nullopt;
        values[i] = *value;
    }
    static constexpr std::array<std::pair<std::string_view, RgbSpace>, 6> RgbSpaces{
        {{"srgb", RgbSpace::SRGB},
         {"srgb-linear", RgbSpace::SRGBLinear},
         {"display-p3", RgbSpace::DisplayP3},
         {"a98-rgb", RgbSpace::A98RGB},
         {"prophoto-rgb", RgbSpace::ProPhotoRGB},
         {"rec2020", RgbSpace::Rec2020}}};
    for (const auto &[spaceName, space] : RgbSpaces)
        if (arguments.space == spaceName) return XYZToRgb(RgbSpace::SRGB, RgbToXYZ(space, values));
    if (arguments.space == "xyz" || arguments.space == "xyz-d65") return XYZToRgb(RgbSpace::SRGB, values);
    if (arguments.space == "xyz-d50") return XYZToRgb(RgbSpace::SRGB, XYZD50ToD65(values));
    return std::nullopt;
}

// The sRGB value (unbounded) of a colour function, or nothing when its arguments do not fit it.
std::optional<Vec3> FunctionColour(const std::string &name, const Arguments &arguments)
{
    if (name == "color") return ColorFunctionColour(arguments);
    const auto found = std::find_if(CssFunctions.begin(), CssFunctions.end(), [&](const CssFunction *function) {
        return name == function->name || (!function->alias.empty() && name == function->alias);
    });
    if (found == CssFunctions.end()) return std::nullopt;
    const CssFunction &function = **found;
    const auto &[c0, c1, c2] = arguments.components;
    if (arguments.legacy) {
        switch (function.legacy) {
        case CssFunction::Legacy::None:
            return std::nullopt;
        case CssFunction::Legacy::SameKinds: // numbers or percentages, not both
            if (!(c0.kind == c1.kind && c1.kind == c2.kind)) return std::nullopt;
            break;
        case CssFunction::Legacy::PercentagesAfterHue:
            if (c1.kind != Component::Percentage || c2.kind != Component::Percentage) return std::nullopt;
            break;
        }
    }
    Vec3 coordinates;
    for (size_t i = 0; i < 3; ++i) {
        const double hundred = function.hundredPercent[i];
        const std::optional<double> value =
            hundred == 0 ? Hue(arguments.components[i]) : Amount(arguments.components[i], hundred);
        if (!value) return std::nullopt;
        coordinates[i] = *value;
    }
    return function.toSRGB(coordinates);
}

// #rgb, #rgba, #rrggbb or #rrggbbaa, without the #.
std::optional<AnyColour> HexColour(std::string_view digits)
{
    if (digits.size() != 3 && digits.size() != 4 && digits.size() != 6 && digits.size() != 8) return std::nullopt;
    const bool shortForm = digits.size() <= 4;
    std::array<int, 4> channels{0, 0, 0, 255};
    for (size_t i = 0; i < digits.size(); i += shortForm ? 1 : 2) {
        const int high = HexDigitValue(char32_t(static_cast<unsigned char>(digits[i])));
        const int low = HexDigitValue(char32_t(static_cast<unsigned char>(digits[shortForm ? i : i + 1])));
        if (high < 0 || low < 0) return std::nullopt;
        channels[shortForm ? i : i / 2] = high * 16 + low;
    }
    return AnyColour{MakeColour(channels[0], channels[1], channels[2]), false, channels[3] < 255, channels[3] / 255.0};
}

// What a CSS function's text says, before it is brought into sRGB and rounded.
struct FunctionReading
{
    Vec3 rgb;
    double alpha = 1;
};

std::optional<FunctionReading> ReadFunction(Scanner &scanner, const std::string &name)
{
    if (!scanner.Take('(')) return std::nullopt;
    const std::optional<Arguments> arguments = ReadArguments(scanner, name == "color");
    if (!arguments) return std::nullopt;
    const std::optional<Vec3> rgb = FunctionColour(name, *arguments);
    if (!rgb || !std::all_of(rgb->begin(), rgb->end(), [](double c) { return std::isfinite(c); })) return std::nullopt;
    double alpha = 1;
    if (arguments->alpha) {
        const std::optional<double> value = Amount(*arguments->alpha, 1);
        if (!value) return std::nullopt;
        alpha = std::clamp(*value, 0.0, 1.0);
    }
    return FunctionReading{*rgb, alpha};
}

std::optional<AnyColour> CssColour(std::string_view text)
{
    if (text.starts_with('#')) return HexColour(text.substr(1));
    Scanner scanner(text);
    const std::string name = scanner.Name();
    if (name.empty()) return std::nullopt;
    if (scanner.AtEnd()) {
        const std::optional<Colour> named = NamedColour(name);
        if (!named) return std::nullopt;
        return AnyColour{*named, false, false};
    }
    const std::optional<FunctionReading> reading = ReadFunction(scanner, name);
    if (!reading) return std::nullopt;
    return FromSRGB(reading->rgb, reading->alpha);
}

} // namespace

// Whether a text of a CSS function reads back as `wanted` in any correct reader: as it does in this one, and
// with no channel so near a half level that another reader's rounding could tip it the other way.
bool ReadsBackSurely(const std::string &text, Colour wanted)
{
    Scanner scanner(text);
    const std::string name = scanner.Name();
    const std::optional<FunctionReading> reading = ReadFunction(scanner, name);
    if (!reading) return false;
    const AnyColour back = FromSRGB(reading->rgb, reading->alpha);
    if (back.colour != wanted || back.mapped) return false;
    // A reader's own rounding errors stay far below a millionth of a level.
    constexpr double Margin = 1e-6;
    return std::all_of(reading->rgb.begin(), reading->rgb.end(), [](double channel) {
        const double level = channel * 255;
        return std::abs(level - std::floor(level) - 0.5) > Margin;
    });
}

AnyColour FromSRGB(const Vec3 &rgb, double alpha)
{
    // A colour within half a step of the gamut's edge comes in as it would by rounding (unless its lightness
    // is none at all): it counts as inside.
    const bool mapped = !InsideSRGB(rgb, 0.5 / 255);
    // Even one within that half step is mapped as CSS maps it: a dark one may lose its hue to the mapping
    // rather than round to the clipped colour.
    const Vec3 inside = MapIntoSRGB(rgb);
    const auto channel = [](double value) { return int(std::lround(std::clamp(value, 0.0, 1.0) * 255)); };
    return {MakeColour(channel(inside[0]), channel(inside[1]), channel(inside[2])), mapped, alpha < 1, alpha};
}

std::optional<AnyColour> ReadAnyColour(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    // CSS first: its rgb() clamps what the program's RGB notation would wrap.
    if (std::optional<AnyColour> css = CssColour(text)) return css;
    if (IsHEXText(text)) return AnyColour{HEXTextToColour(text), false, false};
    if (IsRGBText(text)) return AnyColour{RGBTextToColour(text), false, false};
    if (text.size() == 6 && std::all_of(text.begin(), text.end(), [](char c) {
            return HexDigitValue(char32_t(static_cast<unsigned char>(c))) >= 0;
        }))
        return HexColour(text);
    return std::nullopt;
}

} // namespace colour
