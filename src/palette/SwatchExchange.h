// Adobe Swatch Exchange files (.ase): big-endian, "ASEF" 1.0 and a count of blocks; a block is a colour, or
// the start or end of a group, with a UTF-16 name.
#pragma once

#include "Palette.h"

#include <QByteArray>

// RGB, Gray and Lab colours (Lab brought into sRGB as any reading brings a colour in); CMYK colours are skipped
// and counted. Raises PaletteError for a file cut short, a count or length past its end, a value that is not a
// number or an unknown colour model.
Palette ReadSwatchExchange(const QByteArray &bytes);
// Each named group between its start and end; colours of a group without a name stand outside any.
QByteArray WriteSwatchExchange(const Palette &palette);
