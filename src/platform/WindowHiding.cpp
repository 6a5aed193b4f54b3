#include "WindowHiding.h"

#include "SessionType.h"

#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// Longer than any frame of a desktop that answers; a compositor that stops answering a window does not keep it.
constexpr int FrameBoundMs = 250;

// Hides its widget at the first update request of the widget's window, before anything is painted for it.
class HideAtUpdateRequest : public QObject
{
public:
    HideAtUpdateRequest(QWidget *widget, QEventLoop &loop) : m_widget(widget), m_loop(loop) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::UpdateRequest) return QObject::eventFilter(watched, event);
        m_widget->hide();
        m_loop.quit();
        return true;
    }

private:
    QWidget *m_widget;
    QEventLoop &m_loop;
};

} // namespace

void hideWindow(QWidget *window)
{
    QWindow *handle = window->windowHandle();
    if (!window->isVisible() || !handle || !isWaylandPlatform()) {
        window->hide();
        return;
    }
    QEventLoop loop;
    HideAtUpdateRequest filter(window, loop);
    handle->installEventFilter(&filter);
    QTimer::singleShot(FrameBoundMs, &loop, &QEventLoop::quit);
    handle->requestUpdate();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    handle->removeEventFilter(&filter);
    window->hide();
}
