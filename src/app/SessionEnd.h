// The end of the program when it comes from outside: a termination signal (SIGTERM, SIGHUP, SIGINT) ends it
// as File, Exit does, whatever dialog or capture is up, so that everything is saved and the exit status is 0;
// the desktop's session manager, before a logout, has everything saved at once.
#pragma once

#include "TerminationSignals.h"

#include <QObject>

class TTintMain;

// Saves the window's two stores and the preferences now; what cannot be saved is reported on standard error,
// since a dialog would hold up the logout. What the session manager's request to save runs.
void SaveEverything(TTintMain &window);

class TSessionEnd : public QObject
{
    Q_OBJECT

public:
    // `termination` signals are taken over from the program's start to its last save, longer than the window lives: a
    // signal during the splash, or again during the exit, is the same request to end as the first.
    TSessionEnd(TTintMain &window, TerminationSignals &termination);

private:
    void EndProgram();

    TTintMain &m_window;
    bool m_ending = false;
};
