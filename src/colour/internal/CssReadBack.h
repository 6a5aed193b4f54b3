// Between reading and writing CSS: whether a text the writer makes reads back as it must. For the colour
// library's own units.
#pragma once

#include "uFunctions.h"

#include <string>

namespace colour {

// Whether a text of a CSS function reads back as `wanted` in any correct reader: as it does in this one, and
// with no channel so near a half level that another reader's rounding could tip it the other way.
bool ReadsBackSurely(const std::string &text, Colour wanted);

} // namespace colour
