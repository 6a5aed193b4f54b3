#include "StoredColours.h"

#include "ColourHistory.h"
#include "CustomColours.h"
#include "QtColour.h"
#include "RegistryStore.h"

using namespace registry;

using namespace colour;

TintColours ReadStoredColours(HKEY hive, const QString &appKey)
{
    const QString storage = appKey + QStringLiteral("\\Storage");
    TintColours colours;
    const std::unique_ptr<RegistryStore> store = openRegistryStore(hive, RegistryAccess::ReadOnly);
    for (qsizetype slot = 1; slot <= SlotCount; ++slot) {
        // As the window restores a slot: decimal text, or white.
        const std::optional<RegistryValue> value = store->value(storage, QStringLiteral("pSlot%1_Color").arg(slot));
        const std::optional<qint32> stored = value ? decodeRegInteger(*value) : std::nullopt;
        colours.slotColours.append(stored ? Colour(*stored) : White);
    }
    for (const QColor &custom : CustomColoursFromList(store->valueNames(storage + QStringLiteral("\\CustomColors"))))
        colours.customColours.append(fromQColor(custom));
    ColourHistory history(hive, appKey + QStringLiteral("\\History"));
    history.restore();
    colours.recentColours = history.colours();
    return colours;
}
