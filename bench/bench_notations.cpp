// Cost of each notation's validator, parser and formatter, of reading and writing the colours of the web, and of
// the contrast of a pair with the nearest colour that passes.
#include "Contrast.h"
#include "CssColour.h"
#include "uFunctions.h"

#include <benchmark/benchmark.h>

using namespace colour;

namespace {

using Validator = bool (*)(std::string_view) noexcept;
using Parser = Colour (*)(std::string_view);
using Formatter = std::string (*)(Colour);

void Validate(benchmark::State &state, Validator isText, const char *text)
{
    const std::string_view input(text);
    for (auto _ : state)
        benchmark::DoNotOptimize(isText(input));
}

void Parse(benchmark::State &state, Parser toColour, const char *text)
{
    const std::string_view input(text);
    for (auto _ : state)
        benchmark::DoNotOptimize(toColour(input));
}

void Format(benchmark::State &state, Formatter format)
{
    Colour colour = 0x000080FF;
    for (auto _ : state) {
        benchmark::DoNotOptimize(format(colour));
        colour = (colour + 0x00010203) & 0x00FFFFFF;
    }
}

void ReadAny(benchmark::State &state, const char *text)
{
    const std::string_view input(text);
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadAnyColour(input));
}

void WriteAs(benchmark::State &state, const char *formatName)
{
    const ColourFormat &format = *FindColourFormat(formatName);
    Colour colour = 0x000080FF;
    for (auto _ : state) {
        benchmark::DoNotOptimize(format.write(colour));
        colour = (colour + 0x00010203) & 0x00FFFFFF;
    }
}

void Contrast(benchmark::State &state)
{
    Colour colour = 0x000080FF;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ContrastRatio(colour, White));
        colour = (colour + 0x00010203) & 0x00FFFFFF;
    }
}

// A colour a hair short of AA on white, and one far from it.
void NearestPassing(benchmark::State &state, Colour colour)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(NearestPassingColour(colour, White));
}

} // namespace

BENCHMARK(Contrast);
BENCHMARK_CAPTURE(NearestPassing, near, MakeColour(0x00, 0x6F, 0xFB))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(NearestPassing, far, MakeColour(0xFF, 0xE0, 0x40))->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(Validate, rgb, IsRGBText, "RGB(255, 128, 0)");
BENCHMARK_CAPTURE(Validate, hex, IsHEXText, "0x00FF8000");
BENCHMARK_CAPTURE(Validate, html, IsHTMLText, "#FF8000");
BENCHMARK_CAPTURE(Parse, rgb, RGBTextToColour, "RGB(255, 128, 0)");
BENCHMARK_CAPTURE(Parse, hex, HEXTextToColour, "0x00FF8000");
BENCHMARK_CAPTURE(Parse, html, HTMLTextToColour, "#FF8000");
BENCHMARK_CAPTURE(Format, rgb, ColourToRGBText);
BENCHMARK_CAPTURE(Format, hex, ColourToHEXText);
BENCHMARK_CAPTURE(Format, html, ColourToHTMLText);
BENCHMARK_CAPTURE(ReadAny, named, "rebeccapurple");
BENCHMARK_CAPTURE(ReadAny, hex, "#ff800080");
BENCHMARK_CAPTURE(ReadAny, rgb, "rgb(255 128 0 / 50%)");
BENCHMARK_CAPTURE(ReadAny, hsl, "hsl(30.1deg 100% 50%)");
BENCHMARK_CAPTURE(ReadAny, hwb, "hwb(30 0% 0%)");
BENCHMARK_CAPTURE(ReadAny, lab, "lab(67.8 45.5 74.8)");
BENCHMARK_CAPTURE(ReadAny, lch, "lch(67.8 87.6 58.7)");
BENCHMARK_CAPTURE(ReadAny, oklab, "oklab(0.732 0.1119 0.1484)");
BENCHMARK_CAPTURE(ReadAny, oklch, "oklch(0.732 0.1858 53)");
BENCHMARK_CAPTURE(ReadAny, oklch_mapped, "oklch(0.7 0.3 40)");
BENCHMARK_CAPTURE(ReadAny, color, "color(display-p3 0.936 0.529 0.199)");
BENCHMARK_CAPTURE(WriteAs, css_rgb, "css-rgb");
BENCHMARK_CAPTURE(WriteAs, hsl, "hsl");
BENCHMARK_CAPTURE(WriteAs, hwb, "hwb");
BENCHMARK_CAPTURE(WriteAs, lab, "lab");
BENCHMARK_CAPTURE(WriteAs, lch, "lch");
BENCHMARK_CAPTURE(WriteAs, oklab, "oklab");
BENCHMARK_CAPTURE(WriteAs, oklch, "oklch");
BENCHMARK_CAPTURE(WriteAs, display_p3, "display-p3");
