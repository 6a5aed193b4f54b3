// Every one of the 16.7 million colours, written in every CSS format of Copy As, reads back as exactly that
// colour, unmapped. Prints css_round_trip_s (the time of the sweep on all cores) and css_round_trip_failures,
// with the first colour that failed on standard error; exits 1 on any failure.
#include "CssColour.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

using namespace colour;

int main()
{
    const auto start = std::chrono::steady_clock::now();
    std::atomic<unsigned> failures{0};
    std::atomic<Colour> first{White + 1};
    const auto sweep = [&](Colour from, Colour to) {
        for (Colour colour = from; colour < to; ++colour)
            for (const ColourFormat &format : ColourFormats().subspan(FirstCssFormat)) {
                const std::optional<std::string> text = format.write(colour);
                if (text && ReadAnyColour(*text) == AnyColour{colour, false, false}) continue;
                ++failures;
                Colour none = White + 1;
                first.compare_exchange_strong(none, colour);
            }
    };
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    const Colour share = (White + 1) / threads + 1;
    std::vector<std::thread> workers;
    for (unsigned i = 0; i < threads; ++i)
        workers.emplace_back(sweep, i * share, std::min<Colour>((i + 1) * share, White + 1));
    for (std::thread &worker : workers)
        worker.join();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("css_round_trip_s=%.1f\ncss_round_trip_failures=%u\n", took.count(), failures.load());
    if (failures) std::fprintf(stderr, "#%06X does not read back from every format\n", first.load());
    return failures ? 1 : 0;
}
