// Hiding windows without meeting Qt 6.4's Wayland frame-callback race.
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;
class QWindow;

// Hides top-level windows. On Wayland, Qt 6.4 destroys a window's pending frame callback as it hides the window,
// while its frame-event thread may be destroying the same callback as the compositor answers it: the process
// then aborts or crashes. There each window is hidden as soon as no frame callback of its own is pending (Qt
// delivers an update request only then), within a bound; elsewhere at once.
class WindowHider : public QObject
{
    Q_OBJECT

public:
    explicit WindowHider(QObject *parent = nullptr);

    // Hides those of `windows` that show. `finished` follows once every one is hidden: from the event loop
    // where a window waits for its moment, before this returns where none does.
    void hide(const QList<QWidget *> &windows);
    bool isHiding() const { return !m_waiting.isEmpty(); }

signals:
    void finished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void hideWaiting(QWindow *handle);
    void hideAll();
    void settle(); // finished, once none waits

    QHash<QWindow *, QPointer<QWidget>> m_waiting;
    QTimer m_bound;
};
