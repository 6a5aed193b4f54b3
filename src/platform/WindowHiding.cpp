#include "WindowHiding.h"

#include "SessionType.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace {
// Longer than any frame of a desktop that answers; a compositor that stops answering a window does not keep it.
constexpr int FrameBoundMs = 250;
} // namespace

WindowHider::WindowHider(QObject *parent) : QObject(parent)
{
    m_bound.setSingleShot(true);
    m_bound.setInterval(FrameBoundMs);
    connect(&m_bound, &QTimer::timeout, this, &WindowHider::hideAll);
}

void WindowHider::hide(const QList<QWidget *> &windows)
{
    for (QWidget *window : windows) {
        QWindow *handle = window->windowHandle();
        if (!window->isVisible() || !handle || !isWaylandPlatform()) {
            window->hide();
            continue;
        }
        m_waiting.insert(handle, window);
        handle->installEventFilter(this);
        // A window destroyed meanwhile is gone from sight too.
        connect(handle, &QObject::destroyed, this, [this, handle] {
            m_waiting.remove(handle);
            settle();
        });
        handle->requestUpdate();
    }
    if (m_waiting.isEmpty())
        emit finished();
    else
        m_bound.start();
}

bool WindowHider::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::UpdateRequest) return QObject::eventFilter(watched, event);
    hideWaiting(static_cast<QWindow *>(watched));
    settle();
    return true;
}

void WindowHider::hideWaiting(QWindow *handle)
{
    handle->removeEventFilter(this);
    disconnect(handle, &QObject::destroyed, this, nullptr);
    if (const QPointer<QWidget> window = m_waiting.take(handle)) window->hide();
}

void WindowHider::hideAll()
{
    for (QWindow *handle : m_waiting.keys())
        hideWaiting(handle);
    settle();
}

void WindowHider::settle()
{
    if (!m_waiting.isEmpty()) return;
    m_bound.stop();
    emit finished();
}
