// From F12 to the capture window's first paint, less the capture delay, beside the bare grab of the screen
// that the capture has to make anyway. Prints the medians of several rounds, in milliseconds, as key=value
// lines. Run under X (bench/capture.sh).
#include "frmCapture.h"
#include "frmMain.h"
#include "uOptions.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Notes the time of the capture window's first paint and closes the window once it is painted.
class FirstPaint : public QObject
{
public:
    QElapsedTimer clock;
    double paintedAt = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *form = qobject_cast<TCaptureFrm *>(watched);
        if (form && event->type() == QEvent::Paint && paintedAt < 0) {
            form->removeEventFilter(this);
            const bool handled = static_cast<QObject *>(form)->event(event); // paint first, then take the time
            paintedAt = clock.nsecsElapsed() / 1e6;
            QTimer::singleShot(0, form, &QDialog::reject);
            return handled;
        }
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir registry;
    qputenv("TINTWELL_REGISTRY_DIR", registry.path().toLocal8Bit());
    TintOptions = new TTintOptions(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Corvane\\Bench"));
    const int delay = 1;
    TintOptions->CaptureDelay = delay;

    TTintMain window;
    window.show();
    QAction *capture = window.findChild<QAction *>(QStringLiteral("actEditCapture"));
    const int rounds = 15;

    std::vector<double> captures, grabs;
    for (int round = 0; round < rounds; ++round) {
        FirstPaint watch;
        app.installEventFilter(&watch);
        watch.clock.start();
        capture->trigger();
        app.removeEventFilter(&watch);
        captures.push_back(watch.paintedAt - delay);

        QElapsedTimer clock;
        clock.start();
        const QImage bare = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        grabs.push_back(clock.nsecsElapsed() / 1e6);
        QApplication::processEvents();
    }
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size() *
                         QGuiApplication::primaryScreen()->devicePixelRatio();
    const int w = screen.width(), h = screen.height();
    std::printf("capture_%dx%d_ms=%.1f\ngrab_%dx%d_ms=%.1f\n", w, h, Median(captures), w, h, Median(grabs));
    return 0;
}
