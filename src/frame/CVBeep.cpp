#include "CVBeep.h"

#include <QApplication>

#include <utility>

namespace {
BeepHook CurrentHook;
}

void Beep()
{
    if (CurrentHook)
        CurrentHook();
    else
        QApplication::beep();
}

BeepHook SetBeepHook(BeepHook hook)
{
    return std::exchange(CurrentHook, std::move(hook));
}
