// Cost of one SetColour on the real editor window: the swatch, three fields, three sliders and three
// notation fields brought into line.
#include "frmMain.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

void SetColourRefresh(benchmark::State &state)
{
    TTintMain window;
    window.show();
    QApplication::processEvents();
    Colour colour = 0x00102030;
    for (auto _ : state) {
        window.SetColour(colour);
        colour = (colour + 0x00030507) & 0x00FFFFFF;
    }
}

} // namespace

BENCHMARK(SetColourRefresh);

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
