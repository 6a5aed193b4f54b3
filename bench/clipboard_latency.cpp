// How soon the Paste availability follows a clipboard change made by another program (xclip): the real
// window on X11, another process taking the clipboard, and the time until the matching Paste command
// becomes available. Then what the exit costs with a copied colour still on the clipboard: the hand-off to
// the holder process until it owns the clipboard, and the same call with nothing of ours on the clipboard.
// Prints the median and the worst of the rounds, in milliseconds, as key=value lines.
// Run under X (bench/clipboard.sh).
#include "ClipboardHolder.h"
#include "frmMain.h"
#include "ProgramState.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

void OfferText(const QByteArray &text)
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"),
                {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i")});
    xclip.write(text);
    xclip.closeWriteChannel();
    xclip.waitForFinished(); // xclip forks a server for the selection and returns at once
}

// Runs the event loop until `done` holds; returns the milliseconds waited.
double WaitUntil(const std::function<bool()> &done)
{
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() > 5000) loop.quit();
    });
    poll.start(1);
    loop.exec();
    return clock.nsecsElapsed() / 1e6;
}

// The median and the worst of the rounds, sorted in place.
void Report(const char *name, std::vector<double> &rounds)
{
    std::sort(rounds.begin(), rounds.end());
    std::printf("%s_rounds=%zu\n%s_median_ms=%.1f\n%s_worst_ms=%.1f\n", name, rounds.size(), name,
                rounds[rounds.size() / 2], name, rounds.back());
}

double MillisecondsOf(const std::function<void()> &step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    // The hand-off starts this program again as the holder.
    if (isClipboardHolderCall(argc, argv)) return runClipboardHolder();
    QApplication app(argc, argv);
    const ProgramState state; // over a store of its own
    TTintMain window;
    window.show();
    QAction *pasteHTML = window.findChild<QAction *>(QStringLiteral("actPopPasteHTML"));
    std::vector<double> delays;
    for (int round = 0; round < 40; ++round) {
        const bool html = round % 2 == 0;
        OfferText(html ? "#FF8000" : "RGB(1, 2, 3)");
        delays.push_back(WaitUntil([&] { return pasteHTML->isEnabled() == html; }));
    }
    Report("paste", delays);

    // Each copy takes the clipboard back from the holder of the round before, which then ends.
    QClipboard *clipboard = QGuiApplication::clipboard();
    std::vector<double> handOffs, nothingToHand;
    for (int round = 0; round < 20; ++round) {
        clipboard->setText(QStringLiteral("0x00FF8000"));
        handOffs.push_back(MillisecondsOf([] {
            if (!keepClipboardAfterExit()) std::fprintf(stderr, "no hand-off\n");
        }));
        WaitUntil([clipboard] { return !clipboard->ownsClipboard(); });
        nothingToHand.push_back(MillisecondsOf([] { keepClipboardAfterExit(); }));
    }
    OfferText("RGB(1, 2, 3)"); // the last holder ends
    Report("handoff", handOffs);
    Report("no_handoff", nothingToHand);
    return 0;
}
