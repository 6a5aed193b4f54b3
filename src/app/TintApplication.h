// The program's QApplication: every error that leaves an event handler is caught here, on its way out of
// Qt, and handed to the application-wide handler instead of ending the process.
#pragma once

#include <QApplication>

class TTintApplication : public QApplication
{
    Q_OBJECT

public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override;
};
