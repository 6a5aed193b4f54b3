// Palette files on disk, their format chosen by the name's extension: .gpl and .ase are read and written, .css
// and .json written.
#pragma once

#include "Palette.h"

#include <QString>
#include <QStringList>

// Whether the name ends in the extension of one of the formats, in any case.
bool IsPaletteFileName(const QString &path);
// The file dialog's filters, "GIMP palette (*.gpl)" and the like: every format, or those that can be read.
QStringList PaletteFilters(bool readable);
// The extension a filter stands for, "gpl".
QString ExtensionOfFilter(const QString &filter);

// The palette in a file of one of the formats that can be read. Only a regular file is opened (a FIFO or a
// device would never end), without waiting, and up to 16 MiB. Raises PaletteError.
Palette LoadPaletteFile(const QString &path);
// Writes the file whole or not at all: what stood under the name stays until the new file is complete. Raises
// PaletteError.
void SavePaletteFile(const QString &path, const Palette &palette);
