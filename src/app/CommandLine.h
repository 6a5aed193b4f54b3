// The program's command line. Without options the program opens the editor; `--pick` picks a colour from the
// screen without it, for a terminal or a launcher; `--convert` turns colour texts into another format;
// `--export-palette` writes the editor's colours to a palette file. The command line
// is read before the application object is made: --help, --version and a command line the program does not know need no
// display.
#pragma once

#include "uFunctions.h"

#include <QStringList>

#include <optional>
#include <string>
#include <variant>

// What a command line that needs the display asks for.
struct DisplayRequest
{
    enum Kind { Editor, Pick } kind = Editor;
    std::optional<std::string> (*format)(colour::Colour) = nullptr; // how a pick prints its colour
    std::optional<bool> srgb;  // the sRGB value rather than the device value; else the preference
    bool verbose = false;      // tell both values and the profile on standard error
    bool remember = false;     // add the colour to the editor's recent colours
    std::optional<int> sample; // the side of the square averaged; else the preference
};

// `arguments` with the program's name first. Answers --help, --version and --convert, or refuses the command
// line with one line on standard error, and gives the exit status (2 when refused); otherwise what the display
// is for.
std::variant<int, DisplayRequest> ReadCommandLine(const QStringList &arguments);

// Said on standard error when no display can be opened; the exit status.
int RefuseWithoutDisplay();

// Picks a colour in the application made by now: prints it and leaves it on the clipboard (0), prints nothing
// when cancelled (1), and an error is one line on standard error (2).
int RunPick(const DisplayRequest &request);
