// The signals with which a desktop session, a service manager or a terminal asks a program to end (SIGTERM,
// SIGHUP when the terminal goes, SIGINT for Ctrl+C), delivered as an ordinary Qt signal in the event loop.
#pragma once

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    // Takes the three signals over from their default action (ending the process at once) for as long as
    // this object lives. One object at a time.
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // Whether a signal has come since this object was made, for one who connects late: the splash's paint
    // runs the event loop before the window is there to end.
    bool hasReceived() const { return m_received; }
    // The program's work is done (everything saved) and only its teardown is left: from this object's end a
    // signal ends the process at once with `status`, as it would end anyway, not as one killed.
    void finished(int status);

signals:
    void received(int signalNumber);

private:
    void readPending();

    QSocketNotifier *m_notifier;
    bool m_received = false;
    bool m_finished = false;
};
