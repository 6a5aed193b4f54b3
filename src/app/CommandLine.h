// The program's command line. Without options the program opens the editor; `--pick` picks a colour from the
// screen without it, for a terminal or a launcher.
#pragma once

#include <QStringList>

#include <optional>

// Does what `arguments` (the program's name first) ask for and returns the process's exit status; nothing when
// they ask for the editor. A pick prints the colour and leaves it on the clipboard (0), prints nothing when
// cancelled (1), and an error is one line on standard error (2), as is a command line it does not know.
std::optional<int> RunCommandLine(const QStringList &arguments);
