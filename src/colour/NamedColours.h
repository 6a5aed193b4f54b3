// The 148 named colours of CSS ("orange", "rebeccapurple", ...).
#pragma once

#include "uFunctions.h"

#include <optional>
#include <string_view>

namespace colour {

// The colour of a name given in lower case; nothing for a name CSS does not know.
std::optional<Colour> NamedColour(std::string_view lowerCaseName);

} // namespace colour
