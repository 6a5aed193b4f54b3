// The key rule of the framework's dialogs: Escape closes the dialog, F1 opens the help at the dialog's help
// context number (its property "HelpContext", 0 when unset).
#pragma once

#include <QtGlobal>

class QDialog;
class QWidget;
class TCVApplication;

void HandleDialogKey(int key, QWidget *dialog, const TCVApplication &application);

// Gives the dialog that rule, ahead of its controls: the dialog sees a key before the control that has the
// focus, so F1 and Escape work whatever control has it. A key acts once, on its press, in the window that
// received the press: auto-repeats are ignored, and so is a release whose press went to another window (the
// Escape that closed a warning over the dialog must not close the dialog as well).
void InstallDialogKeys(QDialog *dialog, const TCVApplication &application);
