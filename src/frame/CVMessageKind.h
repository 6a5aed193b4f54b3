// How grave a message to the user is: its picture in the error dialog, and whether the program runs on. An
// error raised as Silent is not reported at all.
#pragma once

#include <cstdint>

enum class TCVMessageKind : std::uint8_t { Error = 0, Warning = 1, Information = 2, Silent = 3 };
