// Cost of the stored-state calls as the program makes them: each registry operation opens its hive afresh,
// and a whole preference save is four of them. Every run works on a private registry folder.
#include "CVRegUtils.h"
#include "uOptions.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace registry;

namespace {
const QString AppKey = QStringLiteral("Software\\Corvane\\Corvane Devbench\\Tintwell");
const QString OptionsKey = AppKey + QStringLiteral("\\Options");

class PrivateRegistry
{
public:
    PrivateRegistry() { qputenv("TINTWELL_REGISTRY_DIR", m_dir.path().toLocal8Bit()); }
    ~PrivateRegistry() { qunsetenv("TINTWELL_REGISTRY_DIR"); }

private:
    QTemporaryDir m_dir;
};

void ReadInteger(benchmark::State &state)
{
    const PrivateRegistry registry;
    RegWriteInteger(HKEY_LOCAL_MACHINE, OptionsKey, QStringLiteral("CaptureDelay"), 500);
    for (auto _ : state)
        benchmark::DoNotOptimize(RegReadInteger(HKEY_LOCAL_MACHINE, OptionsKey, QStringLiteral("CaptureDelay"), 0));
}

void WriteInteger(benchmark::State &state)
{
    const PrivateRegistry registry;
    int value = 0;
    for (auto _ : state)
        RegWriteInteger(HKEY_LOCAL_MACHINE, OptionsKey, QStringLiteral("CaptureDelay"), ++value);
}

void SaveOptions(benchmark::State &state)
{
    const PrivateRegistry registry;
    TTintOptions options(HKEY_LOCAL_MACHINE, AppKey);
    for (auto _ : state) {
        ++options.CaptureDelay;
        options.Save();
    }
}
} // namespace

BENCHMARK(ReadInteger)->Unit(benchmark::kMicrosecond);
BENCHMARK(WriteInteger)->Unit(benchmark::kMicrosecond);
BENCHMARK(SaveOptions)->Unit(benchmark::kMicrosecond);
