// The key-up rule of the framework's dialogs: Escape closes the dialog, F1 opens the help at the dialog's
// help context number (its property "HelpContext", 0 when unset).
#pragma once

#include <QtGlobal>

class QWidget;
class TCVApplication;

void HandleDialogKey(int key, QWidget *dialog, const TCVApplication &application);
