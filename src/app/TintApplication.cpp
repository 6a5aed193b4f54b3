#include "TintApplication.h"

#include "CVAppEvents.h"

#include <exception>

bool TTintApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        aeMainException(receiver, std::current_exception());
    }
    return false;
}
