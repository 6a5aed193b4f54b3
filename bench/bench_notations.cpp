// Cost of each notation's validator with parser, and of each formatter.
#include "uFunctions.h"

#include <benchmark/benchmark.h>

namespace {

using Validator = bool (*)(std::string_view) noexcept;
using Parser = Colour (*)(std::string_view);
using Formatter = std::string (*)(Colour);

void Parse(benchmark::State &state, Validator isText, Parser toColour, const char *text)
{
    const std::string_view input(text);
    for (auto _ : state) {
        benchmark::DoNotOptimize(isText(input));
        benchmark::DoNotOptimize(toColour(input));
    }
}

void Format(benchmark::State &state, Formatter format)
{
    Colour colour = 0x000080FF;
    for (auto _ : state) {
        benchmark::DoNotOptimize(format(colour));
        colour = (colour + 0x00010203) & 0x00FFFFFF;
    }
}

} // namespace

BENCHMARK_CAPTURE(Parse, rgb, IsRGBText, RGBTextToColour, "RGB(255, 128, 0)");
BENCHMARK_CAPTURE(Parse, hex, IsHEXText, HEXTextToColour, "0x00FF8000");
BENCHMARK_CAPTURE(Parse, html, IsHTMLText, HTMLTextToColour, "#FF8000");
BENCHMARK_CAPTURE(Format, rgb, ColourToRGBText);
BENCHMARK_CAPTURE(Format, hex, ColourToHEXText);
BENCHMARK_CAPTURE(Format, html, ColourToHTMLText);
