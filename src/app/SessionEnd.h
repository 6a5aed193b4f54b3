// The end of the program when it comes from outside: a termination signal (SIGTERM, SIGHUP, SIGINT) ends it
// as File, Exit does, whatever dialog or capture is up, so that everything is saved and the exit status is 0.
#pragma once

#include "TerminationSignals.h"

#include <QObject>

class TTintMain;

class TSessionEnd : public QObject
{
    Q_OBJECT

public:
    explicit TSessionEnd(TTintMain &window);

private:
    void EndProgram();

    TTintMain &m_window;
    TerminationSignals m_signals;
    bool m_ending = false;
};
