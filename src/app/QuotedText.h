// A text from the command line or standard input, safe to show in a message on a terminal.
#pragma once

#include <string>
#include <string_view>

// `text` in single quotes, cut to 60 bytes on a character's boundary ("..." after the quote tells it was cut),
// control characters written as \xNN (C1 ones as \u00NN), so that it cannot drive the terminal it is shown on.
std::string Quoted(std::string_view text);
