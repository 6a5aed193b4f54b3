// Any bytes through a palette reader: no crash, no hang, no sanitizer report, only PaletteError for what it
// refuses; and whatever it reads, written again in its format, reads back as the same colours in the same order.
#pragma once

#include "Palette.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

template <typename Read, typename Write>
int FuzzPalette(const std::uint8_t *data, std::size_t size, Read read, Write write)
{
    Palette palette;
    try {
        palette = read(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    } catch (const PaletteError &) {
        return 0;
    }
    const auto colours = [](const Palette &of) {
        QList<colour::Colour> all;
        for (const PaletteGroup &group : of.groups)
            for (const PaletteEntry &entry : group.entries)
                all.append(entry.colour);
        return all;
    };
    if (!std::ranges::equal(colours(read(write(palette))), colours(palette))) std::abort();
    return 0;
}
