// A palette of 1,000 named colours exported to a file and imported from it, in each format that is read.
#include "PaletteFile.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace colour;

namespace {

Palette Thousand()
{
    QRandomGenerator random(1000);
    Palette palette{QStringLiteral("bench"), {{QStringLiteral("Colours"), {}, {}}}, 0};
    for (int i = 0; i < 1000; ++i)
        palette.groups[0].entries.append({QStringLiteral("Colour %1").arg(i), Colour(random.bounded(0x1000000)), {}});
    return palette;
}

void Export(benchmark::State &state, const char *extension)
{
    QTemporaryDir dir;
    const Palette palette = Thousand();
    const QString path = dir.filePath(QStringLiteral("bench.") + QLatin1String(extension));
    for (auto _ : state)
        SavePaletteFile(path, palette);
}

void Import(benchmark::State &state, const char *extension)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.") + QLatin1String(extension));
    SavePaletteFile(path, Thousand());
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadPaletteFile(path));
}

} // namespace

BENCHMARK_CAPTURE(Export, gpl, "gpl")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Export, ase, "ase")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Import, gpl, "gpl")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Import, ase, "ase")->Unit(benchmark::kMicrosecond);
