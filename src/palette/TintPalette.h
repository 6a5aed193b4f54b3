// The program's colours as a palette, and a palette's colours as the program takes them in.
#pragma once

#include "Palette.h"

// The colours a palette file carries: the twelve slots, the sixteen custom colours and the recent colours.
struct TintColours
{
    QList<colour::Colour> slotColours;
    QList<colour::Colour> customColours;
    QList<colour::Colour> recentColours;
};

// Three groups in that order, "Slots" ("Slot 1" .. "Slot 12"), "Custom colors" and "Recent colors".
Palette MakePalette(const TintColours &colours, const QString &name);

// Where a palette's colours go: its group "Slots" to the slots and "Custom colors" to the custom colours, or,
// in a palette without them, its colours in order to the slots first, then to the custom colours. A list is
// as long as the colours the palette has for it; the positions after keep their colours.
struct PaletteAssignment
{
    QList<colour::Colour> slotColours;
    QList<colour::Colour> customColours;
    qsizetype unused = 0; // colours for neither
};
PaletteAssignment AssignPalette(const Palette &palette, qsizetype slotCount, qsizetype customCount);
