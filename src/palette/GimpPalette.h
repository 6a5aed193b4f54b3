// GIMP's palette files (.gpl): text, "GIMP Palette", optionally "Name:" and "Columns:", then a line
// "R G B name" per colour; '#' begins a comment. The old form has neither header line.
#pragma once

#include "Palette.h"

#include <QByteArray>

// One group without a name. Raises PaletteError for a component that is not an integer from 0 to 255, and for
// any other line that is no colour.
Palette ReadGimpPalette(const QByteArray &bytes);
// The groups' colours in order, each group under a comment with its name.
QByteArray WriteGimpPalette(const Palette &palette);
