// The editor window's own work as the user drives it: one SetColour bringing the swatch, three fields, three
// sliders and three notation fields into line; a three-digit number typed into a number field; a slider
// dragged across its whole range; and the whole save as the program exits (the window's two stores and the
// preferences). Repaints are left to the event loop and not counted.
#include "frmMain.h"
#include "ProgramState.h"

#include <QApplication>
#include <QCloseEvent>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

#include <benchmark/benchmark.h>

using namespace colour;

namespace {

template <typename T> T *Control(const TTintMain &window, const char *name)
{
    T *control = window.findChild<T *>(QLatin1String(name));
    if (!control) qFatal("no control %s", name);
    return control;
}

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

// Selects the Red field's text and types over it, three keys, every keystroke setting the colour.
void TypeThreeDigits(benchmark::State &state)
{
    TTintMain window;
    window.show();
    QApplication::processEvents();
    auto *field = Control<QSpinBox>(window, "txtRed");
    field->setFocus();
    const QString numbers[] = {QStringLiteral("128"), QStringLiteral("255")};
    int typed = 0;
    for (auto _ : state) {
        field->selectAll();
        QTest::keyClicks(field, numbers[typed++ % 2]);
    }
    if (GetRValue(window.currentColour()) != (typed % 2 ? 128 : 255)) state.SkipWithError("the typing was lost");
}

// Drags the Red slider from 0 to 255 with tracking on: 256 value changes, each setting the colour.
void DragSliderAcrossRange(benchmark::State &state)
{
    TTintMain window;
    window.show();
    QApplication::processEvents();
    auto *slider = Control<QSlider>(window, "slRed");
    for (auto _ : state) {
        slider->setSliderDown(true);
        for (int position = 0; position <= 255; ++position)
            slider->setSliderPosition(position);
        slider->setSliderDown(false);
    }
    if (window.currentColour() != White) state.SkipWithError("the slider did not set the colour");
}

// What leaving the program stores: the window's place, bars, colour and slots as it closes, then the
// preferences. The program does this once, so each round is a whole exit.
void ExitSave(benchmark::State &state)
{
    TTintMain window;
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        QCloseEvent close;
        QApplication::sendEvent(&window, &close);
        ++TintOptions->CaptureDelay;
        TintOptions->Save();
    }
}

// An exit after the colour changed, by a slider's step (the colour store alone) or by a notation applied (the
// recent colours too): what the recent colours add to the exit.
void ExitSaveAfterChange(benchmark::State &state, bool takenIn)
{
    TTintMain window;
    window.show();
    QApplication::processEvents();
    int red = 0;
    for (auto _ : state) {
        const Colour colour = MakeColour(++red & 0xFF, 0x80, 0x40);
        if (takenIn)
            window.ApplyHTMLText(QString::fromStdString(ColourToHTMLText(colour)));
        else
            window.SetColour(colour);
        QCloseEvent close;
        QApplication::sendEvent(&window, &close);
    }
}

} // namespace

BENCHMARK_CAPTURE(ExitSaveAfterChange, set, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ExitSaveAfterChange, takenIn, true)->Unit(benchmark::kMicrosecond);
BENCHMARK(SetColourRefresh);
BENCHMARK(TypeThreeDigits)->Unit(benchmark::kMicrosecond);
BENCHMARK(DragSliderAcrossRange)->Unit(benchmark::kMicrosecond);
BENCHMARK(ExitSave)->Unit(benchmark::kMicrosecond);

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const ProgramState program; // the application object and the preferences, over a store of the run's own
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
