// aeMainException: the one place every error that leaves an event handler ends up. It shows the error in
// the details dialog and lets the program run on (warnings, information) or asks it to end (everything else).
#pragma once

#include <exception>

class ECVException;
class QObject;

// Call from inside a catch handler, with the error caught. Ending the program means asking the event loops
// to quit with exit code 1, so that the main window and the start-up objects are torn down as usual; asked
// before the event loop runs (while the main window is first shown), the loop ends as soon as it starts.
void aeMainException(QObject *sender, std::exception_ptr error);

// Shows the error in the details dialog, with its own kind's picture and the application's caption,
// language and font; a silent kind shows nothing. Returns once the user has closed the dialog.
void ReportError(const ECVException &error);

// From now on every report (ReportError's, aeMainException's) goes to standard error as one line instead of
// to a dialog: the program is being ended from outside (a logout, a signal), and a dialog would hold that up
// with nobody to answer it.
void ReportToStandardError();
