// The compiled help beside the executable, shown by a viewer library that is loaded on first use and
// kept. Context 0 is the default topic; the others are the topics the help file maps to their numbers.
#pragma once

#include <QtGlobal>

class TCVApplication;

// Nothing at all happens when the help file is missing. A viewer library that cannot be loaded gives the
// beep; a failure while showing raises the warning "Unable to show help file '%s'.".
void ShowHelp(const TCVApplication &application, qint32 context);
