#include "CaptureSession.h"

#include "CVExceptions.h"
#include "WindowHiding.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>

#include <utility>

TCaptureWindows::TCaptureWindows() = default;
TCaptureWindows::~TCaptureWindows() = default;

std::optional<PickedColour> TCaptureWindows::Pick(const QList<ScreenPicture> &pictures, CaptureChoices &choices)
{
    std::optional<PickedColour> colour;
    QEventLoop picking;
    while (m_forms.size() < size_t(pictures.size()))
        m_forms.push_back(std::make_unique<TCaptureFrm>());
    // Out of sight at once, however the capture ends; the pictures go once every window is hidden. What the
    // user does while the windows go counts no more.
    WindowHider hider;
    QObject::connect(&hider, &WindowHider::finished, &picking, [&] {
        for (const auto &form : m_forms)
            form->Release();
        picking.quit();
    });
    bool finishing = false;
    const auto finish = [&] {
        if (std::exchange(finishing, true)) return;
        QList<QWidget *> windows;
        for (const auto &form : m_forms)
            windows.append(form.get());
        hider.hide(windows);
    };
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        TCaptureFrm *form = m_forms[i].get();
        QObject::connect(form, &TCaptureFrm::picked, &picking, [&](const PickedColour &picked) {
            if (finishing) return;
            colour = picked;
            finish();
        });
        QObject::connect(form, &TCaptureFrm::cancelled, &picking, finish);
        // One zoom and one sample for every screen.
        QObject::connect(form, &TCaptureFrm::zoomChanged, &picking, [&](int changed) {
            choices.zoom = changed;
            for (qsizetype j = 0; j < pictures.size(); ++j)
                m_forms[j]->SetZoom(changed);
        });
        QObject::connect(form, &TCaptureFrm::sampleChanged, &picking, [&](int changed) {
            choices.sample = changed;
            for (qsizetype j = 0; j < pictures.size(); ++j)
                m_forms[j]->SetSample(changed);
        });
        form->Show(pictures[i], choices);
    }
    // The keys go first to the window under the pointer; later, to the one it enters.
    const QPoint pointer = QCursor::pos();
    TCaptureFrm *first = m_forms.front().get();
    for (qsizetype i = 0; i < pictures.size(); ++i)
        if (pictures[i].screen->geometry().contains(pointer)) first = m_forms[i].get();
    first->raise();
    first->activateWindow();
    picking.exec();
    return colour;
}

std::optional<PickedColour> CaptureColour(ScreenService &screen, TCaptureWindows &windows, bool allScreens,
                                          CaptureChoices &choices)
{
    std::optional<QList<ScreenPicture>> snapshot;
    bool cancelled = false;
    QString failure, details;
    QEventLoop waiting;
    QObject::connect(&screen, &ScreenService::snapshotReady, &waiting, [&](const QList<ScreenPicture> &pictures) {
        snapshot = pictures;
        waiting.quit();
    });
    QObject::connect(&screen, &ScreenService::snapshotFailed, &waiting,
                     [&](const QString &message, const QString &cause) {
                         failure = message.isEmpty() ? QStringLiteral("The screen could not be read.") : message;
                         details = cause;
                         waiting.quit();
                     });
    QObject::connect(&screen, &ScreenService::snapshotCancelled, &waiting, [&] {
        cancelled = true;
        waiting.quit();
    });
    QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary)
        throw ECVException(QStringLiteral("The screen could not be read."), QStringLiteral("There is no screen."),
                           TCVMessageKind::Warning);
    QList<QScreen *> screens{primary};
    if (allScreens) {
        for (QScreen *other : QGuiApplication::screens())
            if (!screens.contains(other)) screens.append(other);
    }
    screen.requestSnapshot(screens);
    if (!snapshot && !cancelled && failure.isEmpty()) waiting.exec();
    if (cancelled) return std::nullopt;
    if (!snapshot) throw ECVException(failure, details, TCVMessageKind::Warning);
    return windows.Pick(*snapshot, choices);
}
