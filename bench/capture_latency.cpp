// From F12 to the capture window's first paint, less the capture delay, beside the bare grab of the screen
// that the capture has to make anyway; and from a pointer move over the capture window to the magnifier
// painted again and handed to the X server. Prints medians (and the 99th percentile of the moves), in
// milliseconds, as key=value lines. Run under X (bench/capture.sh).
#include "frmCapture.h"
#include "frmMain.h"
#include "ProgramState.h"
#include "uOptions.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double Percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(values.size() * share))];
}

// Times the paints of the capture window: the first one after the clock starts, and then, with moves to make,
// each pointer move's repaint. Closes the window once done.
class PaintClock : public QObject
{
public:
    QElapsedTimer clock;
    double paintedAt = -1;
    int moves = 0;
    std::vector<double> moveTimes;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *form = qobject_cast<TCaptureFrm *>(watched);
        if (!form || event->type() != m_timed || paintedAt >= 0) return false;
        const bool handled = static_cast<QObject *>(form)->event(event); // paint first, then take the time
        paintedAt = clock.nsecsElapsed() / 1e6;
        if (m_timed == QEvent::Paint)
            QTimer::singleShot(0, form, [this, form] {
                Move(form);
                form->close();
            });
        return handled;
    }

private:
    void Move(TCaptureFrm *form)
    {
        // A widget paints its changes on an UpdateRequest, which also hands them to the X server.
        m_timed = QEvent::UpdateRequest;
        for (int i = 0; i < moves; ++i) {
            // Across the screen in odd steps, so that every move shows other pixels.
            const QPointF at((i * 37) % form->width(), (i * 23) % form->height());
            QMouseEvent move(QEvent::MouseMove, at, at, form->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            paintedAt = -1;
            clock.start();
            QApplication::sendEvent(form, &move);
            while (paintedAt < 0)
                QApplication::processEvents();
            moveTimes.push_back(paintedAt);
        }
    }

    QEvent::Type m_timed = QEvent::Paint;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const ProgramState state; // over a store of its own
    const int delay = 1;
    TintOptions->CaptureDelay = delay;

    TTintMain window;
    window.show();
    QAction *capture = window.findChild<QAction *>(QStringLiteral("actEditCapture"));
    const int rounds = 15;

    std::vector<double> captures, grabs;
    for (int round = 0; round < rounds; ++round) {
        PaintClock watch;
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
    // The moves, with the pixel alone and then with the largest square averaged.
    const auto timeMoves = [&] {
        PaintClock moves;
        moves.moves = 300;
        app.installEventFilter(&moves);
        capture->trigger();
        app.removeEventFilter(&moves);
        return moves.moveTimes;
    };
    const std::vector<double> moveTimes = timeMoves();
    TintOptions->CaptureSample = 25;
    const std::vector<double> sampleMoveTimes = timeMoves();

    const QSize screen =
        QGuiApplication::primaryScreen()->geometry().size() * QGuiApplication::primaryScreen()->devicePixelRatio();
    const int w = screen.width(), h = screen.height();
    std::printf("capture_%dx%d_ms=%.1f\ngrab_%dx%d_ms=%.1f\n", w, h, Percentile(captures, 0.5), w, h,
                Percentile(grabs, 0.5));
    std::printf("magnifier_%dx%d_median_ms=%.2f\nmagnifier_%dx%d_p99_ms=%.2f\n", w, h, Percentile(moveTimes, 0.5), w, h,
                Percentile(moveTimes, 0.99));
    std::printf("magnifier_sample25_%dx%d_median_ms=%.2f\n", w, h, Percentile(sampleMoveTimes, 0.5));
    return 0;
}
