// How tintwell-reg shows a value's data, and how it reads the data given after /d, in reg.exe's forms.
#pragma once

#include "RegistryValue.h"

#include <QString>

// REG_SZ as its text, REG_DWORD and REG_QWORD as 0x and lower-case hexadecimal, REG_MULTI_SZ with the
// texts joined by \0, and everything else as upper-case hexadecimal pairs.
QString valueDataText(const registry::RegistryValue &value);
// A type's name for a query line: "REG_SZ" and the like, or the number for a type without a name.
QString valueTypeText(std::uint32_t type);
// Numbers are decimal or 0x hexadecimal, binary data is hexadecimal digits, multi-strings are split at \0.
// Raises std::invalid_argument with a message for the user.
registry::RegistryValue valueFromText(std::uint32_t type, const QString &text);
