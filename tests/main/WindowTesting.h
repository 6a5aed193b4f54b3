// Helpers for tests that drive the real editor window.
#pragma once

#include "CVMsgDetailsFrm.h"
#include "ToolBarState.h"

#include <QAbstractEventDispatcher>
#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QMainWindow>
#include <QObject>
#include <QPlainTextEdit>
#include <QtGlobal>
#include <QTimer>
#include <QToolBar>

#include <functional>

// The window's control (or command, or any object) of that name and type; a test that names one the window
// does not have ends at once.
template <typename T> T *Child(const QObject &window, const char *name)
{
    T *object = window.findChild<T *>(QLatin1String(name));
    if (!object) qFatal("no control %s", name);
    return object;
}

// Runs the event loop until it is about to wait for events: the window's idle-time rules have run by then
// (they are connected to the same moment, earlier). QTest::qWait never lets the loop wait, so it never gets
// there. False when the loop did not fall idle within ten seconds.
inline bool RunUntilIdle()
{
    QEventLoop loop;
    bool idle = false;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop, [&] {
        idle = true;
        loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    return idle;
}

// Calls `seen` each time an event of `type` reaches `watched`, before `watched` handles it; lives as long as
// `watched`. Tests check the order of events with it rather than the state at some moment.
class EventSpy : public QObject
{
public:
    static void Watch(QObject *watched, QEvent::Type type, std::function<void()> seen)
    {
        watched->installEventFilter(new EventSpy(watched, type, std::move(seen)));
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == m_type) m_seen();
        return false;
    }

private:
    EventSpy(QObject *parent, QEvent::Type type, std::function<void()> seen)
        : QObject(parent), m_type(type), m_seen(std::move(seen))
    {
    }

    QEvent::Type m_type;
    std::function<void()> m_seen;
};

// Detaches the toolbar as a drag out of its dock does, to the frame given: Qt has no call for that, only its
// saved layout, where a floating toolbar carries bit 0 and its frame, x and y offset by 0x7FFF.
inline void FloatToolBar(QMainWindow &window, const QToolBar &toolbar, const QRect &frame)
{
    std::optional<ToolBarState> state = ParseToolBarState(window.saveState());
    if (!state) qFatal("a layout the test cannot read");
    for (ToolBarStateLine &line : state->lines)
        for (ToolBarStateItem &item : line.items)
            if (item.name == toolbar.objectName()) {
                item.geom0 = quint32(frame.width()) << 17 | quint32(frame.x() + 0x7fff) << 1 | 1;
                item.geom1 = quint32(frame.height()) << 16 | quint32(frame.y() + 0x7fff);
            }
    window.restoreState(BuildToolBarState(*state));
}

// The details dialogs shown while it lives, each answered with OK: what a command that failed told the user.
class ShownDialogs
{
public:
    struct Shown
    {
        QString message;
        QString details;
        bool warning; // with the warning's picture
    };

    ShownDialogs()
        : m_previous(SetDetailsDialogObserver([this](TCVMessageDetails *dialog) {
              shown.append({dialog->findChild<QLabel *>(QStringLiteral("lblErrorMsg"))->text(),
                            dialog->findChild<QPlainTextEdit *>(QStringLiteral("txtErrorDetails"))->toPlainText(),
                            dialog->findChild<QLabel *>(QStringLiteral("imgWarning"))->isVisible()});
              dialog->accept();
          }))
    {
    }
    ~ShownDialogs() { SetDetailsDialogObserver(m_previous); }
    ShownDialogs(const ShownDialogs &) = delete;
    ShownDialogs &operator=(const ShownDialogs &) = delete;

    QList<Shown> shown;

private:
    DetailsDialogObserver m_previous;
};
