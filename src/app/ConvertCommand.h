// `tintwell --convert`: colours in any notation of the web turned into one format, without a display, a window
// or the store.
#pragma once

#include "CssColour.h"

#include <cstdio>
#include <string_view>

// Prints the colour `text` says in `format` on `output` (0); a text that is no colour is said on `errors` (1).
// "-" reads one colour a line from `input` and writes one line for each: a line that is no colour gets an empty
// line and a word on `errors` naming it, and makes the status 1 at the end. Output that cannot be written: 2.
int RunConvert(std::string_view text, const colour::ColourFormat &format, std::FILE *input = stdin,
               std::FILE *output = stdout, std::FILE *errors = stderr);
