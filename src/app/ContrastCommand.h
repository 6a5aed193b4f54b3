// `tintwell --contrast`: the WCAG 2 contrast of a foreground on a background, without a display, a window or the
// store.
#pragma once

#include <cstdio>
#include <string_view>

// Prints the ratio and the five verdicts on `output` (0); `suggest` adds the nearest colour that passes AA
// normal text. A foreground with an alpha is drawn over the background first, and a line says so. A text that
// is no colour, or a background that is not opaque, is one line on `errors` (2).
int RunContrast(std::string_view foreground, std::string_view background, bool suggest, std::FILE *output = stdout,
                std::FILE *errors = stderr);
