// The colour dialog's sixteen custom colours, kept as a list of lines "ColorA=0000FF" .. "ColorP=...": the
// letter is the position, the value the Colour in upper-case hexadecimal (red in the low byte). Other lines
// may stand in the list; they are kept and play no part. The list lives in the registry as value names.
#pragma once

#include "RegistryHive.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

class TFormPlacement;

inline constexpr int CustomColourCount = 16;

// The sixteen colours for the dialog. A position whose line is missing, empty or not hexadecimal has no
// colour; the dialog has no marker for that and shows white.
QList<QColor> CustomColoursFromList(const QStringList &list);
// Rewrites the sixteen lines from the dialog's colours: a line already there is changed where it stands,
// a missing one is added at the end.
void UpdateCustomColourList(QStringList &list, const QList<QColor> &colours);

// The subkey "CustomColors" of hive\key; the present list when it cannot be read. Never reports anything.
QStringList RestoreCustomColours(registry::HKEY hive, const QString &key, const QStringList &present);
// Replaces that subkey of the store's key by one holding the list, as part of the store's save.
void SaveCustomColours(TFormPlacement &store, const QStringList &list);
