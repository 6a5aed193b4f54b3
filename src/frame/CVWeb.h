// Opening a web address in the user's browser.
#pragma once

#include <QString>

// An address without a scheme is taken as a web page ("http://" in front); the empty address does nothing.
// Whether a browser could be started is not reported.
void OpenWebAddress(const QString &address);
