#include "TintPalette.h"

using namespace colour;

namespace {

const QString SlotsName = QStringLiteral("Slots");
const QString CustomName = QStringLiteral("Custom colors");

PaletteGroup Group(const QString &name, const QString &key, const QString &entryName, const QString &entryKey,
                   const QList<Colour> &colours)
{
    PaletteGroup group{name, key, {}};
    for (qsizetype i = 0; i < colours.size(); ++i)
        group.entries.append({entryName.arg(i + 1), colours[i], entryKey.arg(i + 1)});
    return group;
}

const PaletteGroup *FindGroup(const Palette &palette, const QString &name)
{
    for (const PaletteGroup &group : palette.groups)
        if (group.name.compare(name, Qt::CaseInsensitive) == 0) return &group;
    return nullptr;
}

// The first `count` colours of the group; the rest count as unused.
QList<Colour> Take(const PaletteGroup *group, qsizetype count, qsizetype &unused)
{
    QList<Colour> colours;
    if (!group) return colours;
    for (const PaletteEntry &entry : group->entries)
        if (colours.size() < count)
            colours.append(entry.colour);
        else
            ++unused;
    return colours;
}

} // namespace

Palette MakePalette(const TintColours &colours, const QString &name)
{
    return {name,
            {Group(SlotsName, QStringLiteral("slots"), QStringLiteral("Slot %1"), QStringLiteral("slot-%1"),
                   colours.slotColours),
             Group(CustomName, QStringLiteral("custom"), QStringLiteral("Custom %1"), QStringLiteral("custom-%1"),
                   colours.customColours),
             Group(QStringLiteral("Recent colors"), QStringLiteral("recent"), QStringLiteral("Recent %1"),
                   QStringLiteral("recent-%1"), colours.recentColours)},
            0};
}

PaletteAssignment AssignPalette(const Palette &palette, qsizetype slotCount, qsizetype customCount)
{
    PaletteAssignment assignment;
    const PaletteGroup *slotGroup = FindGroup(palette, SlotsName);
    const PaletteGroup *customGroup = FindGroup(palette, CustomName);
    if (slotGroup || customGroup) {
        assignment.slotColours = Take(slotGroup, slotCount, assignment.unused);
        assignment.customColours = Take(customGroup, customCount, assignment.unused);
        for (const PaletteGroup &group : palette.groups)
            if (&group != slotGroup && &group != customGroup) assignment.unused += group.entries.size();
        return assignment;
    }
    qsizetype total = 0;
    for (const PaletteGroup &group : palette.groups)
        for (const PaletteEntry &entry : group.entries) {
            ++total;
            if (assignment.slotColours.size() < slotCount)
                assignment.slotColours.append(entry.colour);
            else if (assignment.customColours.size() < customCount)
                assignment.customColours.append(entry.colour);
        }
    assignment.unused = total - assignment.slotColours.size() - assignment.customColours.size();
    return assignment;
}
