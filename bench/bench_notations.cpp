// Cost of each notation's validator, parser and formatter.
#include "uFunctions.h"

#include <benchmark/benchmark.h>

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

} // namespace

BENCHMARK_CAPTURE(Validate, rgb, IsRGBText, "RGB(255, 128, 0)");
BENCHMARK_CAPTURE(Validate, hex, IsHEXText, "0x00FF8000");
BENCHMARK_CAPTURE(Validate, html, IsHTMLText, "#FF8000");
BENCHMARK_CAPTURE(Parse, rgb, RGBTextToColour, "RGB(255, 128, 0)");
BENCHMARK_CAPTURE(Parse, hex, HEXTextToColour, "0x00FF8000");
BENCHMARK_CAPTURE(Parse, html, HTMLTextToColour, "#FF8000");
BENCHMARK_CAPTURE(Format, rgb, ColourToRGBText);
BENCHMARK_CAPTURE(Format, hex, ColourToHEXText);
BENCHMARK_CAPTURE(Format, html, ColourToHTMLText);
