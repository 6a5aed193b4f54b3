#include "CVDialogKeys.h"

#include "CVHelp.h"

#include <QWidget>

void HandleDialogKey(int key, QWidget *dialog, const TCVApplication &application)
{
    if (key == Qt::Key_Escape)
        dialog->close();
    else if (key == Qt::Key_F1)
        ShowHelp(application, dialog->property("HelpContext").toInt());
}
