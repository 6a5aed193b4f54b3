// How soon the Paste availability follows a clipboard change made by another program (xclip): the real
// window on X11, another process taking the clipboard, and the time until the matching Paste command
// becomes available. Prints the median and the worst of the rounds, in milliseconds, as key=value lines.
// Run under X (bench/clipboard.sh).
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void OfferText(const QByteArray &text)
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i")});
    xclip.write(text);
    xclip.closeWriteChannel();
    xclip.waitForFinished(); // xclip forks a server for the selection and returns at once
}

// Runs the event loop until the command's availability equals `available`; returns the milliseconds waited.
double WaitFor(QAction *command, bool available)
{
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (command->isEnabled() == available || clock.elapsed() > 5000) loop.quit();
    });
    poll.start(1);
    loop.exec();
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TTintMain window;
    window.show();
    QAction *pasteHTML = window.findChild<QAction *>(QStringLiteral("actPopPasteHTML"));
    std::vector<double> delays;
    for (int round = 0; round < 40; ++round) {
        const bool html = round % 2 == 0;
        OfferText(html ? "#FF8000" : "RGB(1, 2, 3)");
        delays.push_back(WaitFor(pasteHTML, html));
    }
    std::sort(delays.begin(), delays.end());
    std::printf("paste_rounds=%zu\npaste_median_ms=%.1f\npaste_worst_ms=%.1f\n", delays.size(),
                delays[delays.size() / 2], delays.back());
    return 0;
}
