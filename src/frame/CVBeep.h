// The one beep of the framework (refused keys, a help viewer that cannot be loaded). Tests listen in
// through the hook instead of a speaker.
#pragma once

#include <functional>

void Beep();

using BeepHook = std::function<void()>;
// Replaces the hook (an empty one restores the system beep) and returns the previous one.
BeepHook SetBeepHook(BeepHook hook);
