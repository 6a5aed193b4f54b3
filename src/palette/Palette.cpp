#include "Palette.h"

qsizetype Palette::colourCount() const
{
    qsizetype count = 0;
    for (const PaletteGroup &group : groups)
        count += group.entries.size();
    return count;
}
