#include "Palette.h"

void RequireRoomForColour(qsizetype count)
{
    if (count >= MaxColourCount)
        throw PaletteError(QStringLiteral("more than %1 colors, more than any palette").arg(MaxColourCount));
}

qsizetype Palette::colourCount() const
{
    qsizetype count = 0;
    for (const PaletteGroup &group : groups)
        count += group.entries.size();
    return count;
}
